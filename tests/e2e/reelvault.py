"""What a person does with Reelvault's windows: menus, dialogs, the views and the status bar,
all found on the screen by their texts and their places in the window."""

import os
import re
import time

from desktop import DriveError, reads
from journey import check

MAIN = r"Lorvix Reelvault - \[.*\]"
PLAYER = "Lorvix MP3 Player"
COUNTS = re.compile(r"Artists:\s*(\d+)\W*\s+Albums:\s*(\d+)\W*\s+Tracks:\s*(\d+)")

# The main window's layout in its client area (logical pixels at scale 1).
MENU_BAR_HEIGHT = 20
TOOL_BAR_HEIGHT = 28
STATUS_HEIGHT = 19
TREE_WIDTH = 231
COUNTS_WIDTH = 295  # as wide as six-digit counts need in the program's font
ALBUM_HEADER_HEIGHT = 91

# The player window's buttons, by their place in its client area (they show pictures only).
PLAYER_BUTTONS = {"Play": 18, "Pause": 46, "Stop": 74, "Previous": 102, "Next": 130,
                  "Add file(s)": 201, "Add to Media Library": 322}
PLAYER_BUTTON_Y = 74


class Reelvault:
    """The main window of a running program, as the journey's person sees it."""

    def __init__(self, journey):
        self.j = journey
        self.d = journey.desktop

    # ---- the main window ---------------------------------------------------------------------

    def start(self):
        self.wid = self.j.start_program()
        return self

    def main(self):
        """The main window's id (it may have been made anew after a restart)."""
        self.wid = self.d.wait_window(MAIN, 10)
        return self.wid

    def caption(self):
        found = self.d.windows("^%s$" % MAIN)
        return found[0][1] if found else None

    def client(self):
        return self.d.geometry(self.main())

    def region(self, part):
        """A part of the main window on the screen: x, y, w, h."""
        x, y, w, h = self.client()
        top = y + MENU_BAR_HEIGHT + TOOL_BAR_HEIGHT + 2
        bottom = y + h - STATUS_HEIGHT
        return {
            "menu": (x, y, w, MENU_BAR_HEIGHT + 2),
            "tools": (x, y + MENU_BAR_HEIGHT, w, TOOL_BAR_HEIGHT + 2),
            "tree": (x, top, TREE_WIDTH, bottom - top),
            "right": (x + TREE_WIDTH + 3, top, w - TREE_WIDTH - 3, bottom - top),
            "counts": (x, bottom, COUNTS_WIDTH, STATUS_HEIGHT),
            "file": (x + COUNTS_WIDTH, bottom, w - COUNTS_WIDTH, STATUS_HEIGHT),
        }[part]

    def focus(self):
        self.d.activate(self.main())

    # ---- menus -------------------------------------------------------------------------------

    def open_menu(self, menu):
        """Clicks a menu of the menu bar; returns the screen region of the menu that drops."""
        self.focus()
        before = set(self.d.popups("Lorvix Reelvault"))
        x, y, w, h = self.region("menu")
        self.d.click_text(menu, (x, y, min(w, 300), h))
        return self.popup(before)

    def popup(self, before=()):
        """The region of a menu that just dropped."""
        def dropped():
            for wid, geometry in self.d.popups("Lorvix Reelvault").items():
                if wid not in before:
                    return geometry
            return None
        return self.d.wait(dropped, 5, "no menu dropped")

    def menu(self, menu, *items):
        """Chooses an item, through sub-menus when more are given."""
        region = self.open_menu(menu)
        for i, item in enumerate(items):
            before = set(self.d.popups("Lorvix Reelvault"))
            self.d.click_text(item, region, dark_only=True)
            if i + 1 < len(items):
                region = self.popup(before)

    def menu_states(self, menu):
        """The items of a menu as {caption: enabled}; the menu is closed again."""
        region = self.open_menu(menu)
        time.sleep(0.2)
        shot = self.d._scratch_shot()
        every = [text for text, _ in self.d.lines(region, faint=True, shot=shot)]
        dark = [text for text, _ in self.d.lines(region, dark_only=True, shot=shot)]
        self.d.key("Escape")
        self.d.key("Escape")
        return every, dark

    def enabled(self, menu, item):
        every, dark = self.menu_states(menu)
        return listed(item, dark)

    # ---- dialogs -----------------------------------------------------------------------------

    def dialog(self, title=None, timeout=10):
        """The dialog in front: the window of that title, or else the active window when it is
        not the main window; returns (id, title)."""
        def front():
            if title is not None:
                found = self.d.windows("^(?:%s)$" % title)
                return found[0] if found else None
            wid = self.d.xdotool("getactivewindow", check=False).strip()
            name = self.d.xdotool("getwindowname", wid, check=False).strip() if wid else ""
            return (int(wid), name) if name and not re.match(MAIN + "$", name) else None
        return self.d.wait(front, timeout, "no dialog came to the front; windows: %s" %
                           self.d.titles())

    def gone(self, wid, timeout=10):
        self.d.wait(lambda: not any(w == wid for w, _ in self.d.windows(".")), timeout,
                    "the dialog %s stayed open" % wid)

    def file_dialog(self, path, title=None, save=False):
        """Answers the toolkit's file dialog by typing the path into its name field."""
        wid, name = self.dialog(title)
        time.sleep(0.4)
        self.d.key("ctrl+a")
        self.d.type(path)
        self.d.key("Return", pause=0.8)
        if save and any(w != wid and "Lorvix" not in t for w, t in self.d.windows(".")):
            # The dialog asks whether to replace a file that is there.
            self.d.key("alt+y", pause=0.5)
        self.gone(wid)

    def folder_dialog(self, folder):
        """Types the folder into the folder dialog and chooses it with Enter; the release of that
        Enter lands on the progress window's Stop button, which must not end the scan."""
        wid, _ = self.dialog("Select directory")
        time.sleep(0.4)
        self.d.key("ctrl+a")
        self.d.type(folder)
        self.d.key("Return")
        self.gone(wid)

    # The keys of a question box's buttons: their underlined letters, Escape for Cancel.
    ANSWER_KEYS = {"Yes": "alt+y", "No": "alt+n", "Cancel": "Escape", "OK": "Return"}

    def answer(self, button, title="Confirmation", text=None):
        """Answers a question box (Yes, No, Cancel, OK) once it shows the text."""
        wid = self.d.wait_window(title, 10)
        if text is not None:
            self.d.wait_text(text, self.d.geometry(wid), part=True)
        self.d.activate(wid)
        self.d.key(self.ANSWER_KEYS[button])
        self.gone(wid, 5)

    def name_dialog(self, title, name):
        """Types a name into the one-field dialogs (Library Properties, Artist Properties)."""
        self.d.wait_window(title, 10)
        time.sleep(0.3)
        self.d.key("ctrl+a")
        self.d.type(name)
        self.d.key("Return")
        self.d.wait_no_window(title, 5)

    # ---- commands a person uses often --------------------------------------------------------

    def new_library(self, name):
        self.focus()
        self.d.key("ctrl+n")
        self.name_dialog("Library Properties", name)
        self.d.wait(lambda: self.caption() == "Lorvix Reelvault - [%s]" % name, 5,
                    "the caption does not name the library %r: %r" % (name, self.caption()))

    def scan(self, folder, wait=True, timeout=60):
        self.menu("File", "Scan...")
        self.folder_dialog(folder)
        if wait:
            self.wait_scan_end(timeout)

    def start_with_scan(self, name, folder, counts):
        """Starts the program, makes the library `name`, scans `folder` into it and waits for
        the status bar to count (artists, albums, tracks)."""
        self.start()
        self.new_library(name)
        self.scan(folder)
        self.wait_counts(counts)

    def progress(self):
        """The progress window, when one is up (it has the program's title)."""
        found = self.d.windows("^Lorvix Reelvault$")
        return found[0][0] if found else None

    def wait_scan_end(self, timeout=60):
        # The progress window may come and go between two looks at a small folder; the
        # status bar's counts stop changing once the scan ended.
        try:
            self.d.wait(self.progress, 3, "")
        except DriveError:
            pass
        self.d.wait(lambda: not self.progress(), timeout, "the progress window stayed open")
        last = [None]

        def settled():
            now, last[0] = last[0], self.counts()
            return now == last[0]
        self.d.wait(settled, 10, "the counts kept changing", interval=0.5)

    def save_as(self, path):
        self.menu("File", "Save As...")
        self.file_dialog(path, save=True)
        self.d.wait(lambda: os.path.exists(path), 10, "%s was not written" % path)

    # ---- what the window shows ---------------------------------------------------------------

    def counts(self, timeout=5):
        """The status bar's counts (artists, albums, tracks) as read on the screen."""
        def read():
            match = COUNTS.search(self.d.text(self.region("counts")))
            return tuple(int(v) for v in match.groups()) if match else None
        return self.d.wait(read, timeout, "the status bar shows no counts: %r" %
                           self.d.text(self.region("counts")))

    def wait_counts(self, expected, timeout=10):
        last = []

        def same():
            last[:] = [self.counts()]
            return last[0] == tuple(expected)
        try:
            self.d.wait(same, timeout, "")
        except DriveError:
            raise AssertionError("the status bar counts %s, not %s" % (last, tuple(expected)))

    def list_header(self):
        """The column captions' strip of the track list, below the album header."""
        x, y, w, h = self.region("right")
        return (x, y + ALBUM_HEADER_HEIGHT, w, 20)

    def column_caption(self, caption, timeout=10):
        """A caption of the track list's header, looked for until it is read; a header that
        cannot be read fails the check."""
        shot = [None]

        def look():
            shot[0] = self.d._scratch_shot()
            region = self.list_header()
            for options in ({}, {"scale": 4}, {"invert": True}, {"dark_only": True}):
                found = self.d.find(caption, region, shot=shot[0], **options)
                if found:
                    return found
            return None
        try:
            return self.d.wait(look, timeout, "", interval=0.5)
        except DriveError:
            raise AssertionError("the header %s does not read %r: %r" % (
                self.list_header(), caption, self.d.text(self.list_header(), shot=shot[0])))

    def wait_order(self, titles, what, timeout=10):
        """Waits until the right-hand view lists rows of the titles in this order."""
        seen = [None]

        def ordered():
            for rows in self.right_readings():
                rows = [r for r in rows if any(reads(r, t) for t in titles)]
                seen[0] = rows
                if len(rows) == len(titles) and all(reads(r, t) for r, t in zip(rows, titles)):
                    return True
            return False
        try:
            self.d.wait(ordered, timeout, "", interval=0.5)
        except DriveError:
            raise AssertionError("%s: the rows read %s, not in the order %s" % (what, seen[0],
                                                                                 titles))

    def tree_lines(self):
        return [t for t, _ in self.d.lines(self.region("tree"), invert=True)]

    def right_lines(self, scale=3):
        return [t for t, _ in self.d.lines(self.region("right"), invert=True, scale=scale)]

    def right_readings(self):
        """The right-hand view read twice, at two enlargements: OCR slips differ between them."""
        shot = self.d._scratch_shot()
        return [[t for t, _ in self.d.lines(self.region("right"), invert=True, scale=s,
                                            shot=shot)] for s in (3, 4)]

    def click_in_tree(self, text, double=False):
        return self.d.click_text(text, self.region("tree"), invert=True, double=double)

    def click_in_list(self, text, double=False, button=1):
        return self.d.click_text(text, self.region("right"), invert=True, double=double,
                                 button=button)


def _caption(line):
    """A menu line without its short cut and sub-menu arrow."""
    words = [w for w in line.split() if "+" not in w and w not in (">", "»", "›")]
    return " ".join(words)


def listed(item, lines):
    from desktop import _similar
    return any(_similar(item, _caption(line)) >= 0.8 for line in lines)


def expect_listed(item, lines, where):
    check(listed(item, lines), "%r is not in %s: %s" % (item, where, lines))
