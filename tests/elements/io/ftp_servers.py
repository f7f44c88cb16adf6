#!/usr/bin/python3
"""Runs a command beside FTP and HTTP test servers on loopback and exits with its exit code."""
# The servers serve a temporary pub/latest/DGD.txt (a copy of --sample) and
# beside it the sample 3-day-geomag-forecast.txt of resources/sample:
#   ftp_servers.py --sample FILE [--log FILE] -- command args...
# The command learns where everything is from the TERVIK_* variables set in
# main(). Nothing here reaches outside 127.0.0.1.

import argparse
import http.server
import logging
import os
import pathlib
import shutil
import socket
import subprocess
import sys
import tempfile
import threading
import warnings

sys.dont_write_bytecode = True  # nothing of ours lands in the source tree
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from pyftpdlib.authorizers import DummyAuthorizer  # noqa: E402
from pyftpdlib.handlers import FTPHandler  # noqa: E402
from pyftpdlib.ioloop import IOLoop  # noqa: E402
from pyftpdlib.servers import FTPServer  # noqa: E402

import scripted_ftp  # noqa: E402

STOPPING = threading.Event()  # set when the command has ended


def background(target, *args):
    thread = threading.Thread(target=target, args=args, daemon=True)
    thread.start()
    return thread


class RealServer:
    """pyftpdlib, anonymous with write access."""
    # On a loop of its own so that closing one server does not close the other's sockets.

    def __init__(self, root, port=0):
        authorizer = DummyAuthorizer()
        with warnings.catch_warnings():
            warnings.simplefilter("ignore")
            authorizer.add_anonymous(root, perm="elradfmw")
        handler = type("Handler", (FTPHandler,), {"authorizer": authorizer, "passive_ports": None})
        self.server = FTPServer(("127.0.0.1", port), handler, ioloop=IOLoop())
        self.port = self.server.address[1]
        self.stopping = threading.Event()
        self.thread = background(self.run)

    def run(self):
        while not self.stopping.is_set():
            self.server.ioloop.loop(0.1, blocking=False)
        self.server.close_all()

    def stop(self):
        self.stopping.set()
        self.thread.join(10)


def gated_server(root, gate, port):
    """A real server on port that is up only while the gate file exists."""
    # So a program under test can meet the server down first and up later.
    server = None
    while not STOPPING.wait(0.05):
        up = os.path.exists(gate)
        if up and server is None:
            server = RealServer(root, port)
        elif not up and server is not None:
            server.stop()
            server = None
    if server is not None:
        server.stop()


class WebHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the folder and logs every request line with its User-Agent; the path's first part may pick a misbehaviour."""
    #   /cut/<file>      200 with the whole file's Content-Length, half the file, then the connection closes
    #   /missing/<file>  404
    #   /silent/<file>   takes the request and does not answer for HOLD seconds
    #   /trickle/<file>  200 with the file's Content-Length, then the file one byte a second for HOLD
    #                    seconds, then the rest
    #   /html/<file>     200 and a captive portal's page
    #   /empty/<file>    200 with Content-Length: 0
    #   /huge/<file>     200 without a Content-Length, then the file's rows again and again, without end

    request_log = None
    lock = threading.Lock()
    BODIES = {
        "html": b"<html><head><title>Sign in</title></head><body>Please sign in to use this network.</body></html>\n",
        "empty": b"",
    }

    def do_GET(self):
        with self.lock, open(self.request_log, "a") as log:
            log.write(self.command + " " + self.path + " " + str(self.headers.get("User-Agent")) + "\n")
        mode, _, rest = self.path.lstrip("/").partition("/")
        if mode == "missing":
            return self.send_error(404)
        if mode not in ("cut", "silent", "trickle", "huge") and mode not in self.BODIES:
            return super().do_GET()
        self.close_connection = True
        if mode == "silent":
            return STOPPING.wait(scripted_ftp.HOLD)
        data = self.BODIES[mode] if mode in self.BODIES else pathlib.Path(self.translate_path("/" + rest)).read_bytes()
        self.send_response(200)
        if mode != "huge":
            self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        try:
            if mode == "trickle":
                for i in range(scripted_ftp.HOLD):
                    self.wfile.write(data[i:i + 1])
                    self.wfile.flush()
                    STOPPING.wait(1)
                data = data[scripted_ftp.HOLD:]
            while mode == "huge" and not STOPPING.is_set():
                self.wfile.write(data)
            self.wfile.write(data[: len(data) // 2] if mode == "cut" else data)
        except OSError:
            pass  # the reader stopped taking it

    def log_message(self, format, *args):
        logging.info("http: " + format, *args)


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def loopback_socket():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind(("127.0.0.1", 0))
    return s, s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sample", required=True)
    parser.add_argument("--log")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command

    logging.basicConfig(filename=args.log, filemode="w", level=logging.INFO if args.log else logging.WARNING)
    root = tempfile.mkdtemp(prefix="tervik-ftp-")
    control = tempfile.mkdtemp(prefix="tervik-ftp-gate-")
    stoppers = []
    try:
        os.makedirs(os.path.join(root, "pub", "latest"))
        shutil.copyfile(args.sample, os.path.join(root, "pub", "latest", "DGD.txt"))
        shutil.copyfile(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "..", "resources",
                                     "sample", "3-day-geomag-forecast.txt"),
                        os.path.join(root, "pub", "latest", "3-day-geomag-forecast.txt"))
        real = RealServer(root)
        scripted = scripted_ftp.ScriptedServer(root)
        stoppers += [real.stop, scripted.stop]
        closed, closed_port = loopback_socket()
        closed.close()
        # Connecting to the stalled port hangs: the listener never accepts and
        # one connection of our own fills its queue, so further SYNs are dropped.
        stalled, stalled_port = loopback_socket()
        stalled.listen(0)
        filler = socket.create_connection(("127.0.0.1", stalled_port), timeout=5)
        stoppers += [filler.close, stalled.close]
        gated_socket, gated_port = loopback_socket()
        gated_socket.close()
        gate = os.path.join(control, "open")  # the command creates it to bring the server up
        stoppers.append(background(gated_server, root, gate, gated_port).join)
        WebHandler.request_log = os.path.join(control, "http-requests.log")
        open(WebHandler.request_log, "w").close()
        web = http.server.ThreadingHTTPServer(("127.0.0.1", 0), lambda *a: WebHandler(*a, directory=root))
        web.daemon_threads = True
        background(web.serve_forever, 0.1)
        stoppers += [web.server_close, web.shutdown]

        env = dict(os.environ)
        env.update({
            "TERVIK_FTP_TEST_HOST": "127.0.0.1",
            "TERVIK_FTP_TEST_PORT": str(real.port),  # pyftpdlib
            "TERVIK_FTP_SCRIPTED_PORT": str(scripted.port),  # scripted_ftp.py
            "TERVIK_FTP_CLOSED_PORT": str(closed_port),  # nobody listens
            "TERVIK_FTP_STALLED_PORT": str(stalled_port),  # connecting hangs
            "TERVIK_FTP_ROOT": wine_path(root),
            "TERVIK_FTP_GATED_PORT": str(gated_port),  # pyftpdlib on root while the gate file exists
            "TERVIK_FTP_GATE": wine_path(gate),
            "TERVIK_HTTP_TEST_PORT": str(web.server_address[1]),
            "TERVIK_HTTP_LOG": wine_path(WebHandler.request_log),  # one line per request
        })
        return subprocess.call(command, env=env)
    finally:
        STOPPING.set()
        for stop in reversed(stoppers):
            stop()
        shutil.rmtree(root, ignore_errors=True)
        shutil.rmtree(control, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
