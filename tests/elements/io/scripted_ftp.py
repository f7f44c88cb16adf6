"""A small FTP server of our own for what a well-behaved server never does.

The login name picks the misbehaviour, so one server on one port serves every
case and the test chooses by setting the reader's UserName:

  plain      answers like a normal server (files from the served folder)
  nosize     refuses SIZE, then transfers normally with 226
  refusecwd  refuses every CWD with 550
  missing    SIZE and RETR answer 550
  cut426     sends half the file, closes the data connection cleanly, replies 426
  cutnosize  as cut426 but refuses SIZE, so only the final reply tells
  cutreset   sends half the file, then resets the data connection, replies 426
  cutquit    sends half the file, closes the data connection cleanly and drops
             the control connection without a reply (the server went away)
  silent     answers the login, then never answers again (keeps the line open)
  stall      opens the data connection, sends half the file and then nothing

Plain sockets only; one thread per control connection. Loopback only.
"""

import os
import socket
import struct
import threading

MODES = {"plain", "nosize", "refusecwd", "missing", "cut426", "cutnosize",
         "cutreset", "cutquit", "silent", "stall"}


class Session(threading.Thread):
    def __init__(self, server, conn):
        super().__init__(daemon=True)
        self.server = server
        self.conn = conn
        self.file = conn.makefile("rb")
        self.mode = "plain"
        self.cwd = "/"
        self.pasv = None
        self.type = "A"

    def reply(self, text):
        self.server.log("<- " + text)
        self.conn.sendall((text + "\r\n").encode("latin-1"))

    def path(self, name):
        if not name.startswith("/"):
            name = self.cwd.rstrip("/") + "/" + name
        parts = [p for p in name.split("/") if p not in ("", ".")]
        if ".." in parts:
            return None
        return os.path.join(self.server.root, *parts)

    def run(self):
        try:
            self.serve()
        except OSError:
            pass
        finally:
            self.close_pasv()
            try:
                self.file.close()
                self.conn.close()
            except OSError:
                pass

    def close_pasv(self):
        if self.pasv is not None:
            try:
                self.pasv.close()
            except OSError:
                pass
            self.pasv = None

    def serve(self):
        self.reply("220 scripted test server")
        while True:
            line = self.file.readline()
            if not line:
                return
            line = line.decode("latin-1").rstrip("\r\n")
            self.server.log("-> " + line)
            verb, _, arg = line.partition(" ")
            verb = verb.upper()
            if verb == "USER":
                self.mode = arg if arg in MODES else "plain"
                self.reply("331 any password will do")
                continue
            if verb == "PASS":
                self.reply("230 logged in")
                if self.mode == "silent":
                    self.server.hold(self)
                    return
                continue
            handler = getattr(self, "cmd_" + verb, None)
            if handler is None:
                self.reply("500 unknown command")
            elif handler(arg) is False:
                return

    def cmd_SYST(self, arg):
        self.reply("215 UNIX Type: L8")

    def cmd_NOOP(self, arg):
        self.reply("200 ok")

    def cmd_PWD(self, arg):
        self.reply('257 "%s"' % self.cwd)

    def cmd_TYPE(self, arg):
        self.type = arg.upper()[:1] or "A"
        self.reply("200 type set")

    def cmd_CWD(self, arg):
        target = self.path(arg)
        if self.mode == "refusecwd" or target is None or not os.path.isdir(target):
            self.reply("550 no such directory")
            return
        self.cwd = "/" + os.path.relpath(target, self.server.root).replace(os.sep, "/").lstrip(".")
        self.reply("250 directory changed")

    def cmd_SIZE(self, arg):
        if self.mode in ("nosize", "cutnosize"):
            self.reply("500 SIZE not understood")
            return
        target = self.path(arg)
        if self.mode == "missing" or target is None or not os.path.isfile(target):
            self.reply("550 no such file")
            return
        self.reply("213 %d" % os.path.getsize(target))

    def cmd_PASV(self, arg):
        self.close_pasv()
        self.pasv = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.pasv.bind(("127.0.0.1", 0))
        self.pasv.listen(1)
        port = self.pasv.getsockname()[1]
        self.reply("227 Entering Passive Mode (127,0,0,1,%d,%d)" % (port >> 8, port & 255))

    def cmd_QUIT(self, arg):
        self.reply("221 bye")
        return False

    def cmd_RETR(self, arg):
        target = self.path(arg)
        if self.mode == "missing" or target is None or not os.path.isfile(target):
            self.reply("550 no such file")
            return
        if self.pasv is None:
            self.reply("425 use PASV first")
            return
        with open(target, "rb") as f:
            data = f.read()
        self.reply("150 opening data connection")
        self.pasv.settimeout(30)
        try:
            data_conn, _ = self.pasv.accept()
        except OSError:
            self.reply("425 no data connection")
            return
        self.close_pasv()
        half = data[: len(data) // 2]
        if self.mode in ("cut426", "cutnosize"):
            data_conn.sendall(half)
            data_conn.shutdown(socket.SHUT_WR)
            data_conn.close()
            self.reply("426 connection closed; transfer aborted")
        elif self.mode == "cutquit":
            data_conn.sendall(half)
            data_conn.shutdown(socket.SHUT_WR)
            data_conn.close()
            return False
        elif self.mode == "cutreset":
            data_conn.sendall(half)
            data_conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
            data_conn.close()
            self.reply("426 connection reset; transfer aborted")
        elif self.mode == "stall":
            data_conn.sendall(half)
            self.server.hold(self, data_conn)
            return False
        else:
            data_conn.sendall(data)
            data_conn.close()
            self.reply("226 transfer complete")


class ScriptedServer:
    def __init__(self, root, log=None):
        self.root = root
        self.logfile = log
        self.listener = socket.socket(socket.AF_INET, socket.SOCK_STREAM)
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(8)
        self.port = self.listener.getsockname()[1]
        self.held = []
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self.accept_loop, daemon=True)

    def log(self, text):
        if self.logfile:
            with self.lock:
                self.logfile.write(text + "\n")
                self.logfile.flush()

    # A silent session keeps its sockets open, unanswered, until the server stops.
    def hold(self, session, *extra):
        with self.lock:
            self.held.append(session.conn)
            self.held.extend(extra)
        session.conn = socket.socket()  # run() closes this stand-in, not the held line

    def start(self):
        self.thread.start()

    def accept_loop(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            Session(self, conn).start()

    def stop(self):
        try:
            self.listener.close()
        except OSError:
            pass
        with self.lock:
            for s in self.held:
                try:
                    s.close()
                except OSError:
                    pass
            self.held = []
