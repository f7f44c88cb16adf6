"""Serves one DGD.txt by anonymous FTP on loopback, as the data provider's
server does: the file is pub/latest/DGD.txt of a temporary folder. The same
folder is served by plain HTTP on the next port, for the program's web
fallback, with the sample 3-day forecast (resources/sample) beside DGD.txt.

  serve_ftp.py <DGD.txt> <port>

Runs until it is stopped (SIGINT or SIGTERM), then removes the folder.
"""
import functools
import http.server
import logging
import os
import shutil
import signal
import sys
import tempfile
import threading

from pyftpdlib.authorizers import DummyAuthorizer
from pyftpdlib.handlers import FTPHandler
from pyftpdlib.servers import FTPServer


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sample, port = sys.argv[1], int(sys.argv[2])
    root = tempfile.mkdtemp(prefix="tervik-demo-ftp-")
    try:
        os.makedirs(os.path.join(root, "pub", "latest"))
        shutil.copyfile(sample, os.path.join(root, "pub", "latest", "DGD.txt"))
        here = os.path.dirname(os.path.abspath(__file__))
        shutil.copyfile(os.path.join(here, "..", "..", "resources", "sample", "3-day-geomag-forecast.txt"),
                        os.path.join(root, "pub", "latest", "3-day-geomag-forecast.txt"))
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
