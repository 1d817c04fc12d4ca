"""A journey: a person's way through the program, step by step, with a screenshot after each.

A journey gets its own virtual desktop, its own settings folder (XDG_CONFIG_HOME), no sound
(REELVAULT_AUDIO=null), the fake CD drive and, when it asks for them, the loopback fake CDDB
server and an HTTP server. Each step prints one line with its result and time; a failing step
says what was wrong and where its screenshots are, and ends the journey.
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time
import traceback

from desktop import Desktop, DriveError, Program

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
CDDB_FAKE = os.path.join(ROOT, "app", "tests", "cddb_server.py")
# The servers run on Debian's interpreter, whichever python3 comes first on PATH.
PYTHON = "/usr/bin/python3"

# The fake drive: a disc of three audio tracks, as the CD import's own tests describe it.
FAKE_DRIVES = """\
drive /dev/sr0
vendor LORVIX
product FAKE-CD
revision 1.0
address 1 0 0 0
track 1 00:02:00 audio
track 2 04:10:00 audio
track 3 08:30:00 audio
leadout 12:00:00
"""


class StepFailed(Exception):
    pass


class Waiting(AssertionError):
    """A step that could not look at what it checks: a failure like any other, for a check that
    did not look has not passed."""


class Journey:
    """The state of one journey: its folders, desktop, program and servers."""

    def __init__(self, name, binary, out_dir, echo=print):
        self.name = name
        self.binary = binary
        self.out = os.path.join(out_dir, name)
        shutil.rmtree(self.out, ignore_errors=True)
        os.makedirs(self.out)
        self.work = tempfile.mkdtemp(prefix="rv-e2e-%s-" % name)
        self.config = os.path.join(self.work, "config")
        os.makedirs(self.config)
        self.drives = os.path.join(self.work, "drives.txt")
        with open(self.drives, "w") as f:
            f.write(FAKE_DRIVES)
        self.echo = echo
        self.desktop = None
        self.program = None
        self.servers = []
        self.steps = []  # (name, ok, seconds, message)
        self._shot = 0

    # ---- folders -----------------------------------------------------------------------------

    def path(self, *parts):
        return os.path.join(self.work, *parts)

    # ---- the program -------------------------------------------------------------------------

    def start_program(self):
        """Starts the program and waits for its main window; returns the window id."""
        if self.program and self.program.running():
            raise DriveError("the program runs already")
        env = {
            "XDG_CONFIG_HOME": self.config,
            "REELVAULT_AUDIO": "null",
            "REELVAULT_FAKE_CD_DRIVES": self.drives,
            "HOME": self.work,
            "LC_ALL": "C.UTF-8",
            "QT_SCALE_FACTOR": "1",
        }
        self.program = Program(self.desktop, self.binary, env,
                               os.path.join(self.out, "program.log")).start()
        wid = self.desktop.wait_window(r"Lorvix Reelvault - \[.*\]", 20)
        self.desktop.activate(wid)
        return wid

    # ---- servers -----------------------------------------------------------------------------

    def start_server(self, argv):
        """Starts a loopback server that prints its port first; returns the port."""
        proc = subprocess.Popen(argv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                text=True, start_new_session=True)
        self.servers.append(proc)
        line = proc.stdout.readline().strip()
        if not line.isdigit():
            raise DriveError("the server %s did not say its port" % argv)
        return int(line)

    def start_cddb(self):
        return self.start_server([PYTHON, CDDB_FAKE])

    def start_http(self, folder):
        """A static HTTP server for `folder` on 127.0.0.1; returns its port."""
        code = ("import functools,http.server,sys\n"
                "h=functools.partial(http.server.SimpleHTTPRequestHandler,directory=sys.argv[1])\n"
                "h.log_message=lambda *a:None\n"
                "s=http.server.ThreadingHTTPServer(('127.0.0.1',0),h)\n"
                "print(s.server_address[1],flush=True)\n"
                "s.serve_forever()\n")
        return self.start_server([PYTHON, "-c", code, folder])

    # ---- steps -------------------------------------------------------------------------------

    def shot(self, label):
        self._shot += 1
        name = "%02d-%s.png" % (self._shot, "".join(c if c.isalnum() else "-" for c in label))
        path = os.path.join(self.out, name)
        try:
            self.desktop.screenshot(path)
        except (OSError, subprocess.CalledProcessError):
            return None
        return path

    def step(self, label):
        return _Step(self, label)

    def waiting(self, what):
        """Fails the step: it could not see what it was to check."""
        raise Waiting("could not look: %s" % what)

    def run(self, body):
        """Runs the journey's body on a fresh desktop; returns True when every step passed."""
        started = time.time()
        ok = True
        try:
            with Desktop() as desktop:
                self.desktop = desktop
                try:
                    body(self)
                finally:
                    if self.program:
                        self.program.stop()
        except StepFailed:
            ok = False
        except Exception as e:  # the desktop itself failed: report it as the journey's end
            ok = False
            self.echo("  FAIL  %-58s %s" % ("(desktop)", e))
            self.steps.append(("(desktop)", False, 0.0, str(e)))
        finally:
            for proc in self.servers:
                proc.kill()
                proc.wait()
            shutil.rmtree(self.work, ignore_errors=True)
        self.seconds = time.time() - started
        return ok


class _Step:
    def __init__(self, journey, label):
        self.journey = journey
        self.label = label

    def __enter__(self):
        self.started = time.time()
        return self

    def __exit__(self, kind, error, tb):
        j = self.journey
        seconds = time.time() - self.started
        shot = j.shot(self.label)
        if kind is None:
            j.steps.append((self.label, True, seconds, ""))
            j.echo("  ok    %-58s %5.1fs" % (self.label, seconds))
            return False
        if isinstance(error, (DriveError, AssertionError)):
            message = str(error) or "check failed"
        else:
            message = "".join(traceback.format_exception(kind, error, tb)).strip()
        if j.program and not j.program.running() and j.program.proc is not None:
            message += " (the program ended with %s)" % j.program.proc.returncode
        j.steps.append((self.label, False, seconds, message))
        j.echo("  FAIL  %-58s %5.1fs\n        %s\n        screenshots: %s%s" % (
            self.label, seconds, message.replace("\n", "\n        "), j.out,
            " (last: %s)" % os.path.basename(shot) if shot else ""))
        tail = j.program.log()[-2000:] if j.program else ""
        if tail.strip():
            j.echo("        program output:\n          " + tail.strip().replace("\n", "\n          "))
        raise StepFailed(self.label) from error


def check(condition, message):
    if not condition:
        raise AssertionError(message)


def log(*args):
    print(*args, file=sys.stderr)
