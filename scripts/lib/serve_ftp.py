"""Serves one DGD.txt by anonymous FTP on loopback, as the data provider's
server does: the file is pub/latest/DGD.txt of a temporary folder. The same
folder is served by plain HTTP on the next port, for the program's web
fallback, with the sample 3-day forecast (resources/sample) beside DGD.txt,
its dates moved so that it was issued now and its first day is today (UT).

  serve_ftp.py <DGD.txt> <port>

Runs until it is stopped (SIGINT or SIGTERM), then removes the folder.
"""
import datetime
import functools
import http.server
import logging
import os
import re
import shutil
import signal
import sys
import tempfile
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


MONTHS = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()


def dated_forecast(text, now):
    """The forecast text issued at now: its issue line says now, and every
    "Mon DD" and "DD Mon" of the other lines moves by the days between its
    issue day and now's."""
    issued = re.search(r"^:Issued: (\d{4}) (\w{3}) (\d\d) \d{4} UTC.*$", text, re.M)
    issue_day = datetime.date(int(issued.group(1)), MONTHS.index(issued.group(2)) + 1, int(issued.group(3)))
    shift = now.date() - issue_day

    def moved(month_name, day_text):
        # The nearest such date to the issue day, moved: the sample's dates are days from it.
        dates = []
        for year in (issue_day.year - 1, issue_day.year, issue_day.year + 1):
            try:
                dates.append(datetime.date(year, MONTHS.index(month_name) + 1, int(day_text)))
            except ValueError:
                pass
        d = min(dates, key=lambda d: abs(d - issue_day)) + shift
        return MONTHS[d.month - 1], d.day

    names = "|".join(MONTHS)
    lines = []
    for line in text.splitlines(keepends=True):
        if line.startswith(":Issued:"):
            line = now.strftime(":Issued: %Y ") + MONTHS[now.month - 1] + now.strftime(" %d %H%M UTC\n")
        else:
            line = re.sub(r"\b(%s) (\d\d)\b" % names, lambda m: "%s %02d" % moved(m.group(1), m.group(2)), line)
            line = re.sub(r"\b(\d\d) (%s)\b" % names,
                          lambda m: "%02d %s" % moved(m.group(2), m.group(1))[::-1], line)
        lines.append(line)
    return "".join(lines)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sample, port = sys.argv[1], int(sys.argv[2])
    root = tempfile.mkdtemp(prefix="tervik-demo-ftp-")
    try:
        os.makedirs(os.path.join(root, "pub", "latest"))
        shutil.copyfile(sample, os.path.join(root, "pub", "latest", "DGD.txt"))
        here = os.path.dirname(os.path.abspath(__file__))
        with open(os.path.join(here, "..", "..", "resources", "sample", "3-day-geomag-forecast.txt")) as sample_forecast:
            forecast = dated_forecast(sample_forecast.read(), datetime.datetime.utcnow())
        with open(os.path.join(root, "pub", "latest", "3-day-geomag-forecast.txt"), "w") as served_forecast:
            served_forecast.write(forecast)
        authorizer = DummyAuthorizer()
        authorizer.add_anonymous(root)  # read-only
        handler = type("Handler", (FTPHandler,), {})
        handler.authorizer = authorizer
        server = FTPServer(("127.0.0.1", port), handler)
        quiet = type("Quiet", (http.server.SimpleHTTPRequestHandler,), {"log_message": lambda *_: None})
        web = http.server.ThreadingHTTPServer(
            ("127.0.0.1", port + 1), functools.partial(quiet, directory=root))
        threading.Thread(target=web.serve_forever, daemon=True).start()
        signal.signal(signal.SIGTERM, lambda *_: sys.exit(0))
        logging.basicConfig(level=logging.WARNING)  # no line per session
        print("serving %s as ftp://127.0.0.1:%d/pub/latest/DGD.txt and http://127.0.0.1:%d/pub/latest/DGD.txt"
              % (sample, port, port + 1), flush=True)
        server.serve_forever(handle_exit=True)  # closes everything on SIGINT and SIGTERM
    finally:
        shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    main()
