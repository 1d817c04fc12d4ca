"""A virtual desktop for driving the real program as a person would.

Xvfb is the screen, openbox the window manager (so that activation, raising and modal dialogs
behave as on a desktop), xdotool the keyboard and the mouse, ImageMagick's import the camera and
tesseract the eyes: text is found on the screen by reading it, never by asking the program.
"""

import os
import re
import shutil
import signal
import subprocess
import tempfile
import time
from dataclasses import dataclass
from difflib import SequenceMatcher

TOOLS = {
    "Xvfb": "xvfb",
    "openbox": "openbox",
    "xdotool": "xdotool",
    "import": "imagemagick",
    "convert": "imagemagick",
    "tesseract": "tesseract-ocr",
    "xwininfo": "x11-utils",
}
# Python modules from Debian packages: python3-xlib puts a window of its own over the program's
# to see that the program repaints what it uncovers.
MODULES = {"Xlib": "python3-xlib"}

# Reading a screenshot: enlarged this many times, the toolkit's small text reads reliably.
OCR_SCALE = 3


def missing_tools():
    """The Debian packages of the tools that are not installed."""
    lacking = {pkg for tool, pkg in TOOLS.items() if shutil.which(tool) is None}
    for module, pkg in MODULES.items():
        try:
            __import__(module)
        except ImportError:
            lacking.add(pkg)
    return sorted(lacking)


class DriveError(Exception):
    """What a person would see as wrong: a window that did not come, a text that is not there."""


@dataclass
class Word:
    text: str
    x: int
    y: int
    w: int
    h: int
    line: tuple

    @property
    def centre(self):
        return (self.x + self.w // 2, self.y + self.h // 2)


@dataclass
class Found:
    """A run of words on one line of the screen that reads as the text looked for."""
    text: str
    x: int
    y: int
    w: int
    h: int

    @property
    def centre(self):
        return (self.x + self.w // 2, self.y + self.h // 2)


_LOOKALIKE = str.maketrans({"l": "i", "|": "i", "1": "i", "!": "i", "0": "o"})


def fold(text):
    """Text as OCR reads it alike: case, blanks and the letters it confuses made one."""
    return re.sub(r"\s+", " ", text.strip().lower()).translate(_LOOKALIKE)


def reads(line, expected):
    """Whether a line read from the screen holds the expected text."""
    return fold(expected) in fold(line)


def _norm(text):
    return re.sub(r"\s+", " ", text.strip().lower())


def _similar(a, b):
    return SequenceMatcher(None, _norm(a), _norm(b)).ratio()


class Desktop:
    """One Xvfb screen with openbox, started on a display number of its own."""

    def __init__(self, width=1280, height=800):
        self.size = (width, height)
        self.display = None
        self._procs = []
        self._x = None
        self._runtime = tempfile.mkdtemp(prefix="rv-e2e-xdg-")
        # Links and mail addresses the program opens are noted in `opened`, not handed to the
        # machine's browser or mail program, whose windows would stand in a journey's way.
        self._bin = os.path.join(self._runtime, "bin")
        self.opened_log = os.path.join(self._runtime, "opened")
        os.mkdir(self._bin)
        opener = os.path.join(self._bin, "xdg-open")
        with open(opener, "w") as f:
            f.write('#!/bin/sh\nprintf "%%s\\n" "$*" >> "%s"\n' % self.opened_log)
        os.chmod(opener, 0o755)

    def __enter__(self):
        try:
            self.start()
        except BaseException:
            self.stop()
            raise
        return self

    def __exit__(self, *exc):
        self.stop()

    def start(self):
        # -displayfd: the server picks a free display number and says which.
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0",
             "%dx%dx24" % self.size, "-nolisten", "tcp", "-nocursor"],
            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
            start_new_session=True)
        os.close(write_end)
        self._procs.append(xvfb)
        number = b""
        deadline = time.time() + 20
        while not number.endswith(b"\n") and time.time() < deadline:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        os.close(read_end)
        if not number.strip():
            raise DriveError("Xvfb did not start")
        self.display = ":" + number.decode().strip()
        # The server may answer its first clients a moment after it said its number.
        self.wait(self._server_answers, 10, "Xvfb %s does not answer" % self.display)
        self._wm_log = os.path.join(self._runtime, "openbox.log")
        for attempt in range(3):
            with open(self._wm_log, "wb") as log:
                wm = subprocess.Popen(["openbox", "--sm-disable"], env=self.env(), stdout=log,
                                      stderr=log, start_new_session=True)
            self._procs.append(wm)
            try:
                self.wait(lambda: wm.poll() is None and self._wm_running(), 10, "")
                return
            except DriveError:
                pass
        with open(self._wm_log, errors="replace") as log:
            raise DriveError("openbox did not take the screen %s: %s" % (self.display,
                                                                          log.read()))

    def _server_answers(self):
        return subprocess.run(["xprop", "-root", "-len", "1"], env=self.env(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL).returncode == 0

    def _wm_running(self):
        root = subprocess.run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], env=self.env(),
                              capture_output=True, text=True)
        return "window id" in root.stdout

    def stop(self):
        if self._x is not None:
            try:
                self._x.close()
            except Exception:  # the server may be gone already
                pass
            self._x = None
        for proc in reversed(self._procs):
            if proc.poll() is None:
                proc.terminate()
                try:
                    proc.wait(5)
                except subprocess.TimeoutExpired:
                    proc.kill()
                    proc.wait()
        self._procs.clear()
        shutil.rmtree(self._runtime, ignore_errors=True)

    def env(self, extra=None):
        env = dict(os.environ)
        env.pop("WAYLAND_DISPLAY", None)
        env.pop("QT_QPA_PLATFORM", None)
        env["DISPLAY"] = self.display or ""
        env["XDG_RUNTIME_DIR"] = self._runtime
        env["PATH"] = self._bin + os.pathsep + env.get("PATH", "")
        env["BROWSER"] = env["DEFAULT_BROWSER"] = os.path.join(self._bin, "xdg-open")
        env.update(extra or {})
        return env

    # ---- waiting -----------------------------------------------------------------------------

    @staticmethod
    def wait(condition, timeout, what, interval=0.2):
        deadline = time.time() + timeout
        while True:
            result = condition()
            if result:
                return result
            if time.time() >= deadline:
                raise DriveError(what)
            time.sleep(interval)

    # ---- windows -----------------------------------------------------------------------------

    def xdotool(self, *args, check=True):
        proc = subprocess.run(["xdotool", *map(str, args)], env=self.env(), capture_output=True,
                              text=True)
        if check and proc.returncode != 0:
            raise DriveError("xdotool %s: %s" % (" ".join(map(str, args)), proc.stderr.strip()))
        return proc.stdout

    def windows(self, name=".", pid=None):
        """The visible windows whose title matches the regular expression, as (id, title)."""
        args = ["search", "--onlyvisible"]
        if pid is not None:
            args += ["--pid", pid]
        # Titles are matched here: xdotool knows only POSIX expressions.
        out = self.xdotool(*args, "--name", ".", check=False)
        found = []
        for wid in out.split():
            title = self.xdotool("getwindowname", wid, check=False).rstrip("\n")
            if title and re.search(name, title):
                found.append((int(wid), title))
        return found

    def opened(self):
        """What the program asked the desktop to open, one line each."""
        try:
            with open(self.opened_log) as f:
                return f.read().splitlines()
        except FileNotFoundError:
            return []

    def titles(self, pid=None):
        return sorted({t for _, t in self.windows(".", pid)})

    def popups(self, name):
        """Mapped top-level windows of that exact title that no window manager frames, such as
        menus, as {id: (x, y, w, h)}. xdotool does not find them."""
        out = subprocess.run(["xwininfo", "-root", "-children"], env=self.env(),
                             capture_output=True, text=True).stdout
        found = {}
        for match in re.finditer(r'^\s*(0x[0-9a-f]+) "(.*)": \(.*\)\s+(\d+)x(\d+)\+', out, re.M):
            wid, title = int(match.group(1), 16), match.group(2)
            if title != name or int(match.group(3)) < 40 or int(match.group(4)) < 20:
                continue
            info = subprocess.run(["xwininfo", "-id", str(wid)], env=self.env(),
                                  capture_output=True, text=True).stdout
            if "IsViewable" in info:
                found[wid] = self.geometry(wid)
        return found

    def wait_window(self, name, timeout=10, pid=None):
        """The id of the first visible window whose whole title matches `name`."""
        pattern = "^(?:%s)$" % name
        found = self.wait(lambda: self.windows(pattern, pid), timeout,
                          "no window titled /%s/ appeared; windows: %s" % (name, self.titles(pid)))
        return found[0][0]

    def wait_no_window(self, name, timeout=10, pid=None):
        pattern = "^(?:%s)$" % name
        self.wait(lambda: not self.windows(pattern, pid), timeout,
                  "the window titled /%s/ stayed open" % name)

    def geometry(self, wid):
        """The window's client area on the screen: x, y, width, height."""
        # xwininfo's absolute corner: xdotool adds the frame's offset twice under openbox.
        out = subprocess.run(["xwininfo", "-id", str(wid)], env=self.env(), capture_output=True,
                             text=True).stdout
        values = {}
        for key, label in (("x", "Absolute upper-left X"), ("y", "Absolute upper-left Y"),
                           ("w", "Width"), ("h", "Height")):
            match = re.search(r"%s:\s+(-?\d+)" % label, out)
            if not match:
                raise DriveError("the window %s has no geometry (closed?)" % wid)
            values[key] = int(match.group(1))
        return values["x"], values["y"], values["w"], values["h"]

    def motif_hints(self, wid):
        """The Motif hints the program gives the window manager for the window (flags,
        functions, decorations, ...), or None when it gives none."""
        out = subprocess.run(["xprop", "-id", str(wid), "_MOTIF_WM_HINTS"], env=self.env(),
                             capture_output=True, text=True).stdout
        match = re.search(r"=\s*(.*)", out)
        return [int(v, 0) for v in match.group(1).split(",")] if match else None

    def frame_extents(self, wid):
        """The window manager's frame around a window: left, right, top, bottom."""
        out = subprocess.run(["xprop", "-id", str(wid), "_NET_FRAME_EXTENTS"], env=self.env(),
                             capture_output=True, text=True).stdout
        match = re.search(r"=\s*(\d+),\s*(\d+),\s*(\d+),\s*(\d+)", out)
        return tuple(int(v) for v in match.groups()) if match else (0, 0, 0, 0)

    def close_button(self, wid):
        """Where the close button of a window's title bar is (openbox puts it at the right)."""
        x, y, w, h = self.geometry(wid)
        left, right, top, bottom = self.frame_extents(wid)
        if top < 10:
            return None  # a window without a title bar
        return (x + w + right - 2 - top // 2, y - top // 2 - 1)

    def viewable(self, wid):
        out = subprocess.run(["xwininfo", "-id", str(wid)], env=self.env(), capture_output=True,
                             text=True).stdout
        return "IsViewable" in out

    # ---- repainting --------------------------------------------------------------------------

    OVERLAY = b"\xff\x00\xff"  # magenta, as a screen pixel reads in B, G, R order

    def _xlib(self):
        if self._x is None:
            from Xlib import display
            self._x = display.Display(self.display)
        return self._x

    def _overlay_pixels(self, region):
        x, y, w, h = region
        root = self._xlib().screen().root
        data = root.get_image(x, y, w, h, 2, 0xFFFFFFFF).data  # ZPixmap, 32 bits a pixel
        return sum(1 for i in range(0, len(data), 4) if data[i:i + 3] == self.OVERLAY)

    def repaints(self, region, timeout=30):
        """Covers a region of the screen with a magenta window of our own and uncovers it again:
        the windows below must paint the region anew. Windows of the toolkit leave what was on
        the screen until they paint, so magenta that stays is a program that no longer paints.
        Returns the seconds it took; raises DriveError when the magenta stayed."""
        from Xlib import X
        x = self._xlib()
        screen = x.screen()
        started = time.time()
        cover = screen.root.create_window(region[0], region[1], region[2], region[3], 0,
                                          screen.root_depth, X.InputOutput, X.CopyFromParent,
                                          background_pixel=0xFF00FF, override_redirect=True)
        try:
            cover.map()
            x.sync()
            self.wait(lambda: self._overlay_pixels(region) == region[2] * region[3], 5,
                      "the cover window did not show", interval=0.02)
        finally:
            cover.unmap()
            cover.destroy()
            x.sync()
        self.wait(lambda: self._overlay_pixels(region) == 0, timeout,
                  "the window below did not repaint in %d s" % timeout, interval=0.05)
        return time.time() - started

    def activate(self, wid):
        self.xdotool("windowactivate", "--sync", wid, check=False)
        time.sleep(0.2)

    def active_title(self):
        wid = self.xdotool("getactivewindow", check=False).strip()
        return self.xdotool("getwindowname", wid, check=False).strip() if wid else ""

    # ---- keyboard and mouse ------------------------------------------------------------------

    def key(self, *keys, pause=0.25):
        self.xdotool("key", "--clearmodifiers", "--delay", "60", *keys)
        time.sleep(pause)

    def type(self, text, pause=0.25):
        self.xdotool("type", "--clearmodifiers", "--delay", "25", "--", text)
        time.sleep(pause)

    def move(self, x, y):
        self.xdotool("mousemove", "--sync", x, y)

    def click(self, x, y, button=1, double=False, pause=0.35):
        self.move(x, y)
        time.sleep(0.1)
        args = ["click"] + (["--repeat", "2", "--delay", "80"] if double else []) + [button]
        self.xdotool(*args)
        time.sleep(pause)

    def drag(self, start, end, steps=8, pause=0.4):
        self.move(*start)
        time.sleep(0.1)
        self.xdotool("mousedown", 1)
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            self.move(x, y)
            time.sleep(0.05)
        self.xdotool("mouseup", 1)
        time.sleep(pause)

    # ---- the screen --------------------------------------------------------------------------

    def screenshot(self, path):
        subprocess.run(["import", "-window", "root", path], env=self.env(), check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return path

    def pixel(self, x, y, shot=None):
        """The colour at a point of the screen as (r, g, b)."""
        shot = shot or self._scratch_shot()
        out = subprocess.run(["convert", shot, "-crop", "1x1+%d+%d" % (x, y), "-depth", "8",
                              "txt:-"], capture_output=True, text=True, check=True).stdout
        match = re.search(r"\((\d+),(\d+),(\d+)", out)
        return tuple(int(v) for v in match.groups())

    def _scratch_shot(self):
        path = os.path.join(self._runtime, "scratch.png")
        return self.screenshot(path)

    def read(self, region=None, dark_only=False, invert=False, faint=False, shot=None,
             scale=OCR_SCALE, psm=11):
        """The words on the screen (or in region x, y, w, h) with their places on the screen.

        dark_only reads only dark text on a light ground, so that greyed (disabled) entries are
        left out; faint reads greyed text too; invert reads light text on a dark ground."""
        shot = shot or self._scratch_shot()
        x0, y0 = (region[0], region[1]) if region else (0, 0)
        crop = ["-crop", "%dx%d+%d+%d" % tuple(region[i] for i in (2, 3, 0, 1))] if region else []
        ops = ["-colorspace", "Gray", "-resize", "%d%%" % (scale * 100)]
        if invert:
            ops += ["-negate"]
        if dark_only:
            ops += ["-white-threshold", "50%"]
        if faint:
            ops += ["-threshold", "85%"]
        prepared = os.path.join(self._runtime, "ocr.png")
        subprocess.run(["convert", shot, *crop, "+repage", *ops, prepared], check=True)
        env = dict(os.environ, OMP_THREAD_LIMIT="1")
        out = subprocess.run(["tesseract", prepared, "-", "--psm", str(psm), "tsv"], env=env,
                             capture_output=True, text=True).stdout
        words = []
        for row in out.splitlines()[1:]:
            cols = row.split("\t")
            if len(cols) < 12 or not cols[11].strip() or float(cols[10]) < 0:
                continue
            left, top, w, h = (int(c) for c in cols[6:10])
            words.append(Word(cols[11].strip(), x0 + left // scale, y0 + top // scale,
                              max(1, w // scale), max(1, h // scale),
                              tuple(int(c) for c in cols[1:5])))
        return words

    def text(self, region=None, **kw):
        """What the screen (or region) reads, line by line, top to bottom."""
        return "\n".join(line for line, _ in self.lines(region, **kw))

    def lines(self, region=None, **kw):
        """Lines of text as (text, words), grouping words whose middles share a row."""
        # A row's band is that of its lowest word: pictures beside a text are taller.
        rows = []
        for word in sorted(self.read(region, **kw), key=lambda w: (w.y + w.h / 2, w.x)):
            mid = word.y + word.h / 2
            for row in rows:
                band = min(row[1], key=lambda w: w.h)
                if abs(band.y + band.h / 2 - mid) <= min(band.h, word.h) / 2 + 2:
                    row[1].append(word)
                    break
            else:
                rows.append([mid, [word]])
        result = []
        for _, words in sorted(rows, key=lambda r: r[0]):
            words.sort(key=lambda w: w.x)
            result.append((" ".join(w.text for w in words), words))
        return result

    def find(self, text, region=None, threshold=0.8, part=False, **kw):
        """The best reading of `text` on the screen: a run of words on one line; with part,
        also a run that holds it (a file name within a path)."""
        want = len(text.split())
        best, best_score = None, 0.0
        for _, words in self.lines(region, **kw):
            for i in range(len(words)):
                for n in range(max(1, want - 1), want + 2):
                    run = words[i:i + n]
                    if len(run) != n:
                        continue
                    score = _similar(" ".join(w.text for w in run), text)
                    if part and reads(" ".join(w.text for w in run), text):
                        score = max(score, 0.95)
                    if score > best_score:
                        x = run[0].x
                        y = min(w.y for w in run)
                        best = Found(" ".join(w.text for w in run), x, y,
                                     run[-1].x + run[-1].w - x,
                                     max(w.y + w.h for w in run) - y)
                        best_score = score
        return best if best_score >= threshold else None

    def wait_text(self, text, region=None, timeout=10, **kw):
        return self.wait(lambda: self.find(text, region, **kw), timeout,
                         "the text %r did not appear" % text, interval=0.3)

    def click_text(self, text, region=None, timeout=5, double=False, button=1, **kw):
        found = self.wait_text(text, region, timeout, **kw)
        self.click(*found.centre, double=double, button=button)
        return found


class Program:
    """The program under test, started on a desktop with an environment of its own."""

    def __init__(self, desktop, binary, env, log_path):
        self.desktop = desktop
        self.binary = binary
        self.env = env
        self.log_path = log_path
        self.proc = None

    def start(self):
        log = open(self.log_path, "ab")
        self.proc = subprocess.Popen([self.binary], env=self.desktop.env(self.env),
                                     stdout=log, stderr=log, stdin=subprocess.DEVNULL,
                                     start_new_session=True)
        log.close()
        return self

    @property
    def pid(self):
        return self.proc.pid

    def running(self):
        return self.proc is not None and self.proc.poll() is None

    def wait_exit(self, timeout=15):
        try:
            return self.proc.wait(timeout)
        except subprocess.TimeoutExpired:
            raise DriveError("the program did not end; windows: %s" % self.desktop.titles())

    def stop(self):
        if self.running():
            os.killpg(self.proc.pid, signal.SIGTERM)
            try:
                self.proc.wait(5)
            except subprocess.TimeoutExpired:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()

    def log(self):
        try:
            with open(self.log_path, errors="replace") as f:
                return f.read()
        except OSError:
            return ""
