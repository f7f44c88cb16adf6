"""A small FTP server of our own for what a well-behaved server never does."""
# The login name picks the misbehaviour (so the test chooses by the reader's
# UserName); any other name gets a normal server:
#   refusecwd  refuses every CWD with 550
#   cut426     sends half the file, closes the data connection cleanly, replies 426
#   cutnosize  as cut426 but refuses SIZE, so only the final reply tells
#   cutquit    as cut426 but drops the control connection without a reply
#   nosizequit as cutquit but refuses SIZE: neither a size nor a final reply tells
#   silent     answers the login, then keeps the line open without a word for HOLD seconds
#   stall      opens the data connection, sends half the file and then nothing
#              for HOLD seconds (then lets both connections go)
#   stalllong  as stall, but until the servers stop
#   trickle    sends the file one byte a second for HOLD seconds, then the rest
#   blockpasv  gives a passive port that cannot be connected to (the listener
#              never accepts and its queue is full) for HOLD seconds
#   alternate  answers RETR with 550 every second time, counted over all
#              sessions (the first transfer succeeds), and normally otherwise

import contextlib
import itertools
import logging
import os
import pathlib
import socket
import threading
import time

CUTS = {"cut426", "cutnosize", "cutquit", "nosizequit", "stall", "stalllong"}  # half the file, then trouble
NO_SIZE = {"cutnosize", "nosizequit"}
HOLD = 10  # seconds a stall lasts: long past the tests' deadlines, short enough to free their workers soon
FIXED = {"SYST": "215 UNIX Type: L8", "NOOP": "200 ok", "TYPE": "200 type set", "USER": "331 any password will do"}


def close_quietly(*sockets):
    for s in sockets:
        with contextlib.suppress(OSError, AttributeError):  # None has no close
            s.close()


class Session(threading.Thread):
    def __init__(self, server, conn):
        super().__init__(daemon=True)
        self.server, self.conn = server, conn
        self.mode, self.cwd, self.pasv = "plain", "/", None

    def reply(self, text):
        logging.info("<- " + text)
        self.conn.sendall((text + "\r\n").encode("latin-1"))

    # The served file or folder a name stands for; None when it climbs out.
    def path(self, name):
        if not name.startswith("/"):
            name = self.cwd + "/" + name
        parts = [p for p in name.split("/") if p not in ("", ".")]
        return None if ".." in parts else os.path.join(self.server.root, *parts)

    def file(self, name):
        target = self.path(name)
        return target if target and os.path.isfile(target) else None

    def run(self):
        with contextlib.suppress(OSError):
            self.reply("220 scripted test server")
            for line in self.conn.makefile("rb"):
                line = line.decode("latin-1").rstrip("\r\n")
                logging.info("-> " + line)
                verb, _, arg = line.partition(" ")
                if verb.upper() == "USER":
                    self.mode = arg
                handler = getattr(self, "cmd_" + verb.upper(), None)
                if verb.upper() in FIXED:
                    self.reply(FIXED[verb.upper()])
                elif handler is None:
                    self.reply("500 unknown command")
                elif handler(arg) is False:
                    break
        close_quietly(self.pasv, self.conn)

    def cmd_PASS(self, arg):
        self.reply("230 logged in")
        if self.mode == "silent":
            return self.server.hold(self)

    def cmd_PWD(self, arg):
        self.reply('257 "%s"' % self.cwd)

    def cmd_CWD(self, arg):
        target = self.path(arg)
        if self.mode == "refusecwd" or target is None or not os.path.isdir(target):
            return self.reply("550 no such directory")
        self.cwd = "/" + os.path.relpath(target, self.server.root).replace(os.sep, "/").lstrip(".")
        self.reply("250 directory changed")

    def cmd_SIZE(self, arg):
        if self.mode in NO_SIZE:
            return self.reply("500 SIZE not understood")
        target = self.file(arg)
        self.reply("213 %d" % os.path.getsize(target) if target else "550 no such file")

    def cmd_PASV(self, arg):
        close_quietly(self.pasv)
        self.pasv = socket.create_server(("127.0.0.1", 0), backlog=1)
        port = self.pasv.getsockname()[1]
        if self.mode == "blockpasv":
            # Backlog 0 and one connection of our own waiting in it: further SYNs are dropped.
            self.pasv.listen(0)
            filler = socket.create_connection(("127.0.0.1", port), timeout=5)
            self.server.hold(self, filler, self.pasv, keep_session=True)
            self.pasv = None
        self.reply("227 Entering Passive Mode (127,0,0,1,%d,%d)" % (port >> 8, port & 255))

    def cmd_QUIT(self, arg):
        self.reply("221 bye")
        return False

    def cmd_RETR(self, arg):
        target = self.file(arg)
        if target is None:
            return self.reply("550 no such file")
        if self.mode == "alternate" and next(self.server.retrs) % 2 == 0:
            return self.reply("550 not this time")
        data = pathlib.Path(target).read_bytes()
        self.reply("150 opening data connection")
        self.pasv.settimeout(30)
        try:
            data_conn, _ = self.pasv.accept()
        except OSError:
            return self.reply("425 no data connection")
        close_quietly(self.pasv)
        self.pasv = None
        if self.mode not in CUTS:
            trickled = min(HOLD, len(data)) if self.mode == "trickle" else 0
            try:
                for i in range(trickled):
                    data_conn.sendall(data[i:i + 1])
                    time.sleep(1)
                data_conn.sendall(data[trickled:])
                data_conn.close()
                return self.reply("226 transfer complete")
            except OSError:
                close_quietly(data_conn)
                return self.reply("426 connection closed; transfer aborted")
        data_conn.sendall(data[: len(data) // 2])
        if self.mode in ("stall", "stalllong"):
            return self.server.hold(self, data_conn)
        data_conn.shutdown(socket.SHUT_WR)
        data_conn.close()
        if self.mode in ("cutquit", "nosizequit"):
            return False
        self.reply("426 connection closed; transfer aborted")


class ScriptedServer(threading.Thread):
    """Plain sockets, one thread per control connection, loopback only; starts at once."""

    def __init__(self, root):
        super().__init__(daemon=True)
        self.root = root
        self.listener = socket.create_server(("127.0.0.1", 0), backlog=8)
        self.port = self.listener.getsockname()[1]
        self.held, self.lock = [], threading.Lock()
        self.retrs = itertools.count(1)  # RETRs of the alternate mode, counted over all sessions
        self.start()

    # A silent session's or a stall's sockets (with keep_session, only the extra
    # ones) stay open, unanswered, for HOLD seconds.
    def hold(self, session, *extra, keep_session=False):
        held = list(extra) if keep_session else [session.conn, *extra]
        with self.lock:
            self.held += held
        if session.mode in ("silent", "stall", "blockpasv"):
            timer = threading.Timer(HOLD, self.release, held)
            timer.daemon = True
            timer.start()
        if keep_session:
            return None
        session.conn = socket.socket()  # the session closes this stand-in, not the held line
        return False

    def release(self, *sockets):
        with self.lock:
            self.held = [s for s in self.held if s not in sockets]
        close_quietly(*sockets)

    def run(self):
        with contextlib.suppress(OSError):
            while True:
                Session(self, self.listener.accept()[0]).start()

    def stop(self):
        close_quietly(self.listener)
        with self.lock:
            close_quietly(*self.held)
            self.held = []
