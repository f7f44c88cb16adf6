#!/usr/bin/python3
"""Runs a command with two FTP servers and an HTTP server on loopback beside it.

  ftp_servers.py [--sample FILE] [--log FILE] -- command args...

Serves a temporary pub/latest/DGD.txt (a copy of the sample, if given) with a
real pyftpdlib server (anonymous, read and write) and our scripted server
(scripted_ftp.py), and the same folder by plain HTTP (WebServer below), runs
the command and exits with its exit code. The command learns where
everything is from:

  TERVIK_FTP_TEST_HOST      127.0.0.1
  TERVIK_FTP_TEST_PORT      port of the pyftpdlib server
  TERVIK_FTP_SCRIPTED_PORT  port of the scripted server
  TERVIK_FTP_CLOSED_PORT    a loopback port nobody listens on
  TERVIK_FTP_STALLED_PORT   a loopback port where connecting hangs
  TERVIK_FTP_ROOT           the served folder as Wine sees it (Z:\\...)
  TERVIK_FTP_ROOT_UNIX      the same folder as a Unix path
  TERVIK_FTP_GATED_PORT     a loopback port where a second pyftpdlib server on
                            the same folder listens only while the gate file exists
  TERVIK_FTP_GATE           that gate file as Wine sees it (Z:\\...); the command
                            creates it to bring the server up, deletes it to stop it
  TERVIK_HTTP_TEST_PORT     port of the HTTP server
  TERVIK_HTTP_LOG           its request log as Wine sees it (Z:\\...), one line per request

Nothing here reaches outside 127.0.0.1.
"""

import argparse
import http.server
import logging
import os
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


class RealServer(threading.Thread):
    def __init__(self, root, port=0):
        super().__init__(daemon=True)
        authorizer = DummyAuthorizer()
        with warnings.catch_warnings():  # write access for anonymous is what we want here
            warnings.simplefilter("ignore")
            authorizer.add_anonymous(root, perm="elradfmw")
        handler = type("Handler", (FTPHandler,), {"authorizer": authorizer, "passive_ports": None})
        # A loop of its own: closing one server must not close the other's sockets.
        self.server = FTPServer(("127.0.0.1", port), handler, ioloop=IOLoop())
        self.port = self.server.address[1]
        self.stopping = threading.Event()
        self.start()

    def run(self):
        while not self.stopping.is_set():
            self.server.ioloop.loop(0.1, blocking=False)
        self.server.close_all()

    def stop(self):
        self.stopping.set()
        self.join(10)


class GatedServer(threading.Thread):
    """A real server on a fixed port that is up only while a file exists, so a
    program under test can meet the server down first and up later."""

    def __init__(self, root, gate, port):
        super().__init__(daemon=True)
        self.root, self.gate, self.port = root, gate, port
        self.server = None
        self.stopping = threading.Event()
        self.start()

    def run(self):
        while not self.stopping.wait(0.05):
            wanted = os.path.exists(self.gate)
            if wanted and self.server is None:
                self.server = RealServer(self.root, self.port)
            elif not wanted and self.server is not None:
                self.server.stop()
                self.server = None
        if self.server is not None:
            self.server.stop()

    def stop(self):
        self.stopping.set()
        self.join(10)


class WebHandler(http.server.SimpleHTTPRequestHandler):
    """Serves the folder as Debian's http.server does; the first part of the
    path picks a misbehaviour instead:

      /cut/<file>      200 with the whole file's Content-Length, half the file, then the connection closes
      /missing/<file>  404
      /silent/<file>   takes the request and never answers (until the server stops)
    """

    def do_GET(self):
        self.server.log_request_line(self.command + " " + self.path)
        mode, _, rest = self.path.lstrip("/").partition("/")
        if mode == "missing":
            return self.send_error(404)
        if mode == "silent":
            self.server.stopping.wait()
            self.close_connection = True
            return
        if mode != "cut":
            return super().do_GET()
        with open(self.translate_path("/" + rest), "rb") as f:
            data = f.read()
        self.send_response(200)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data[: len(data) // 2])
        self.wfile.flush()
        self.close_connection = True

    def log_message(self, format, *args):
        logging.info("http: " + format, *args)


class WebServer(threading.Thread):
    def __init__(self, root, log_path):
        super().__init__(daemon=True)
        handler = lambda *a, **k: WebHandler(*a, directory=root, **k)  # noqa: E731
        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.server.daemon_threads = True
        self.server.stopping = threading.Event()
        self.server.log_request_line = self.log_request_line
        self.port = self.server.server_address[1]
        self.log_path = log_path
        self.lock = threading.Lock()
        open(log_path, "w").close()
        self.start()

    def log_request_line(self, line):
        with self.lock, open(self.log_path, "a") as log:
            log.write(line + "\n")

    def run(self):
        self.server.serve_forever(0.1)

    def stop(self):
        self.server.stopping.set()
        self.server.shutdown()
        self.server.server_close()
        self.join(10)


def wine_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def loopback_socket():
    s = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
    s.bind(("127.0.0.1", 0))
    return s, s.getsockname()[1]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sample")
    parser.add_argument("--log")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command to run")

    log = open(args.log, "w") if args.log else None
    logging.basicConfig(stream=log or sys.stderr, level=logging.INFO if log else logging.WARNING)
    root = tempfile.mkdtemp(prefix="tervik-ftp-")
    control = tempfile.mkdtemp(prefix="tervik-ftp-gate-")
    gate = os.path.join(control, "open")
    stoppers = []
    try:
        os.makedirs(os.path.join(root, "pub", "latest"))
        target = os.path.join(root, "pub", "latest", "DGD.txt")
        if args.sample:
            shutil.copyfile(args.sample, target)
        else:
            with open(target, "wb") as f:
                f.write(b"# DGD.txt test content\r\n" * 40)
        real = RealServer(root)
        stoppers.append(real.stop)
        scripted = scripted_ftp.ScriptedServer(root, log)
        scripted.start()
        stoppers.append(scripted.stop)
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
        gated = GatedServer(root, gate, gated_port)
        stoppers.append(gated.stop)
        web_log = os.path.join(control, "http-requests.log")
        web = WebServer(root, web_log)
        stoppers.append(web.stop)

        env = dict(os.environ)
        env.update({
            "TERVIK_FTP_TEST_HOST": "127.0.0.1",
            "TERVIK_FTP_TEST_PORT": str(real.port),
            "TERVIK_FTP_SCRIPTED_PORT": str(scripted.port),
            "TERVIK_FTP_CLOSED_PORT": str(closed_port),
            "TERVIK_FTP_STALLED_PORT": str(stalled_port),
            "TERVIK_FTP_ROOT": wine_path(root),
            "TERVIK_FTP_ROOT_UNIX": root,
            "TERVIK_FTP_GATED_PORT": str(gated_port),
            "TERVIK_FTP_GATE": wine_path(gate),
            "TERVIK_HTTP_TEST_PORT": str(web.port),
            "TERVIK_HTTP_LOG": wine_path(web_log),
        })
        return subprocess.call(command, env=env)
    finally:
        for stop in reversed(stoppers):
            stop()
        shutil.rmtree(root, ignore_errors=True)
        shutil.rmtree(control, ignore_errors=True)
        if log:
            log.close()


if __name__ == "__main__":
    sys.exit(main())
