"""A restless person: the program used in a random order, drawn from a seed.

Every menu and pop-up menu command, dialogs ended by OK, Cancel, Esc and their close button,
clicks, double and right clicks in each view, keys and typed words in several scripts, scans,
appends, saves, the player window and the preferences. After every step the program must still
be there and repaint its window; at the end the library is saved, must be well-formed XML and
must open again with the same counts. A crash, a sanitizer report, a hang or an unreadable save
ends the journey with the seed, the last steps and the command line that replays them.

Menus and pop-up menus are read once (by OCR) and their items then clicked where they were read,
so that most steps cost a click and a repaint check, not a reading of the screen.
"""

import collections
import functools
import os
import random
import re
import shlex
import time
import xml.etree.ElementTree as ElementTree

import media
from desktop import DriveError
from journey import check
from journeys import LIBRARY_B, fake_site, set_site, with_layout
from reelvault import (MAIN, MENU_BAR_HEIGHT, PLAYER, PLAYER_BUTTON_Y, PLAYER_BUTTONS, Reelvault,
                       listed)

# The menus as the program builds them; an item with a list opens a sub-menu.
MENUS = {
    "File": ["New", "Open...", "Save", "Save As...",
             ("Save to Presentation", ["Brief...", "Detail..."]), "Append from File...",
             "Scan...", "Preferences...", "Exit"],
    "Edit": ["Add Track from File...", "Add Track...", "Track Properties...",
             "Album Properties...", "Artist Properties...", "Library Properties...",
             "Delete Track", "Delete Album", "Delete Artist", "Clear Library"],
    "Tools": ["MP3 Player"],
    "Help": ["About..."],
}
POPUP = ["Add Track...", "Album Properties...", "Artist Properties...", "Delete Album",
         "Delete Artist"]
TOOL_BUTTONS = [("New", 2), ("Open", 64), ("Save", 126), ("Scan", 188), ("Preferences", 250),
                ("Exit", 352), ("MP3 Player", 414)]

# Words a person types, in Latin and other scripts.
WORDS = ["Alpha", "zebra", "Quiet Storm", "x", "Track 7", "1999", "O'Brien & Co",
         "Жёлтый", "Москва", "щука", "Ωμέγα", "λύρα", "Αθήνα", "Ñandú", "Dvořák",
         "Çà et là", "Žluťoučký kůň", "Ærø", "Łódź", "naïve café"]
VIEW_KEYS = ["Up", "Down", "Left", "Right", "Home", "End", "Prior", "Next", "Tab", "shift+Tab",
             "Return", "Delete", "ctrl+Delete", "space", "BackSpace", "Escape", "plus", "minus",
             "ctrl+Return", "ctrl+a", "ctrl+x", "ctrl+c", "ctrl+v", "F2", "shift+Down",
             "ctrl+Up"]
DIALOG_KEYS = ["Tab", "shift+Tab", "Up", "Down", "Home", "End", "space", "BackSpace", "Delete",
               "ctrl+a", "ctrl+v", "ctrl+c", "Right", "Left"]
QUESTIONS = {"Confirmation", "Error", "Warning", "Information"}
PROGRESS = "Lorvix Reelvault"
SANITIZER = re.compile(r"ERROR: AddressSanitizer|ERROR: LeakSanitizer|runtime error:|"
                       r"AddressSanitizer:DEADLYSIGNAL|UndefinedBehaviorSanitizer")
HANG_SECONDS = 30
MISSES = 3
HISTORY = 25


class Replay(AssertionError):
    """A fault found at random: its text says how to meet it again."""


class RandomUse:
    def __init__(self, journey, seed, steps=None, deadline=None):
        self.j = journey
        self.d = journey.desktop
        self.rv = Reelvault(journey)
        self.rng = random.Random(seed)
        self.seed = seed
        self.steps = steps
        self.deadline = deadline
        self.history = collections.deque(maxlen=HISTORY)
        self.number = 0
        self.restarts = 0
        self.misses = 0
        self.exit_asked = False  # Exit was chosen; the questions it asks may still be open
        self.menu_bar = {}     # menu -> x within the window
        self.menu_items = {}   # (menu, height) -> {item: y within the menu}
        self.places = {}       # (what, window size) -> a place read once within a window
        self.log_seen = 0
        if not isinstance(getattr(journey, "results", None), dict):
            journey.results = {}
        journey.results["steps"] = 0
        self.steps_file = open(os.path.join(journey.out, "steps.txt"), "w", encoding="utf-8")

    # ---- the journey -------------------------------------------------------------------------

    def run(self):
        j = self.j
        with j.step("random use %d: the folders, the program, a library scanned" % self.seed):
            self.prologue()
        what = ["%d steps" % self.steps] if self.steps else []
        if self.deadline:
            what.append("until %s" % time.strftime("%H:%M:%S", time.localtime(self.deadline)))
        with j.step("random use %d: %s" % (self.seed, " or ".join(what))):
            while not self.finished():
                self.step()
            self.note("%d steps, %d restarts" % (self.number, self.restarts))
        with j.step("random use %d: saved, well-formed, opened again" % self.seed):
            self.guard(self.epilogue)
        self.steps_file.close()
        return self.number

    def finished(self):
        return (self.steps is not None and self.number >= self.steps) or (
            self.deadline is not None and time.time() >= self.deadline)

    def prologue(self):
        j = self.j
        self.music = j.path("Music")
        media.sample_album(os.path.join(self.music, "One"), "Artist One", "First Album",
                           ["Morning", "Noon", "Night"], seconds=2)
        media.sample_album(os.path.join(self.music, "Two"), "Artist Two", "Second Album",
                           ["Left", "Right"], seconds=2)
        media.sample_album(os.path.join(self.music, "Three"), "Ana Belén", "Tercero",
                           ["Uno"], seconds=2)
        self.damaged = j.path("Damaged")
        media.damaged(self.damaged)
        self.empty = j.path("Empty")
        os.makedirs(self.empty)
        self.saved = j.path("Saved")
        os.makedirs(self.saved)
        self.other = j.path("Jazz.rvl")
        with open(self.other, "w", encoding="cp1250") as f:
            f.write(LIBRARY_B)
        self.songs = sorted(os.path.join(dirpath, name)
                            for dirpath, _, names in os.walk(self.music) for name in names)
        self.site = fake_site(j)
        # Cyrillic and Greek from keys of their own; accented Latin from spare keys.
        with_layout(j, "ru,gr")
        self.start()
        self.rv.new_library("Restless")
        self.rv.scan(self.music)
        self.rv.wait_counts((3, 3, 6))

    def start(self):
        self.rv.start()
        wid = set_site(self.rv, self.j, self.site)
        self.d.key("Return")
        self.rv.gone(wid)

    def epilogue(self):
        """Everything closed, the library saved, read as XML and opened again."""
        self.settle()
        library = os.path.join(self.saved, "final.rvl")
        if not self.command("File", "Save As..."):
            # No library is shown since the last start: make one to save.
            self.rv.new_library("Final")
            check(self.command("File", "Save As..."), "Save As stays disabled after New")
        counts = self.rv.counts()
        self.rv.file_dialog(library, save=True)
        self.d.wait(lambda: os.path.exists(library), 15, "%s was not written" % library)
        self.alive("save as %s" % library)
        root = self.well_formed(library)
        check(root.tag == "Lorvix_Media_Library", "the saved file's root is %r" % root.tag)
        written = tuple(int(root.findtext(tag, "-1"))
                        for tag in ("ARTIST_COUNT", "ALBUM_COUNT", "TRACK_COUNT"))
        check(written == counts, "the file counts %s, the window %s" % (written, counts))
        caption = self.rv.caption()
        check(self.command("File", "Open..."), "Open is disabled")
        self.rv.file_dialog(library)
        time.sleep(1.0)
        errors = [t for _, t in self.d.windows(".", self.j.program.pid) if t in QUESTIONS]
        check(not errors, "opening the saved library showed %s" % errors)
        self.alive("open %s" % library)
        check(self.rv.caption() == caption, "caption %r after opening, %r before" % (
            self.rv.caption(), caption))
        self.rv.wait_counts(counts)
        check(self.command("File", "Exit"), "Exit is disabled")
        code = self.j.program.wait_exit(30)
        self.check_log()
        check(code == 0, "the program ended with %s" % code)
        # Every library and page saved on the way must be readable too.
        for name in sorted(os.listdir(self.saved)) + [self.other]:
            path = os.path.join(self.saved, name)
            if os.path.isfile(path) and path.endswith((".rvl", ".xml")):
                self.well_formed(path)

    def well_formed(self, path):
        try:
            return ElementTree.parse(path).getroot()
        except (ElementTree.ParseError, LookupError) as e:
            raise Replay(self.report("the saved %s is not well-formed XML: %s" % (path, e)))

    def settle(self):
        """Closes what is open: menus, dialogs, the player; waits for a scan to end."""
        for _ in range(40):
            if not self.j.program.running():
                self.alive("(settle)")
            if self.d.popups("Lorvix Reelvault"):
                self.d.key("Escape")
                continue
            if self.rv.progress():
                self.d.wait(lambda: not self.rv.progress(), 90, "the progress window stayed")
                continue
            windows = self.program_windows()
            others = [(w, t) for w, t in windows if not re.match(MAIN + "$", t)]
            if not others:
                break
            wid, title = others[-1]
            self.d.activate(wid)
            if title == PLAYER:
                self.press_close(wid)
            else:
                # Escape is Cancel everywhere; a question of saving answered Cancel keeps all.
                self.d.key("Escape", pause=0.5)
            self.alive("(settle: %s)" % title)
        else:
            raise AssertionError("windows stayed open: %s" % self.program_windows())
        self.rv.focus()

    # ---- one step ----------------------------------------------------------------------------

    def step(self):
        self.number += 1
        kind, wid, title = self.front()
        if kind == "main":
            # Nothing asks anything: an Exit asked for before was cancelled or went through.
            self.exit_asked = False
            action = self.pick(MAIN_ACTIONS)
        else:
            action = self.pick(DIALOG_ACTIONS[kind])
        try:
            text = action(self, wid, title)
            self.misses = 0
        except (DriveError, AssertionError) as e:
            if isinstance(e, Replay):
                raise
            # A step can be overtaken (a question that came late takes the click meant for a
            # menu); a program that keeps ignoring the person is a fault all the same.
            self.misses += 1
            text = "%s, could not: %s" % (action.__name__, e)
            if self.misses >= MISSES:
                self.note("%s: %s" % (title, text))
                self.guard(lambda: self.alive(text))
                raise Replay(self.report("%d steps in a row could not be done" % MISSES))
        self.note("%s: %s" % (title if kind != "main" else "main", text))
        self.exit_asked = self.exit_asked or exiting(text)
        self.guard(lambda: self.alive(text))

    def guard(self, body):
        """Runs part of a step; a check that fails there ends the journey with a replay."""
        try:
            return body()
        except Replay:
            raise
        except (DriveError, AssertionError) as e:
            # The program's state says more than the step: it may have ended meanwhile.
            if self.alive(str(e)) == "started again":
                return "(the program had ended: %s)" % e
            raise Replay(self.report("could not go on: %s" % e))

    def pick(self, table):
        actions, weights = zip(*table)
        return self.rng.choices(actions, weights)[0]

    def note(self, text):
        line = "%4d  %s" % (self.number, text)
        self.history.append(line)
        self.j.results["steps"] = self.number
        self.steps_file.write(line + "\n")
        self.steps_file.flush()

    def front(self):
        """What the person faces: the main window, a dialog, the player or the progress window,
        as (kind, window, title)."""
        windows = self.program_windows()
        active = self.d.xdotool("getactivewindow", check=False).strip()
        active = int(active) if active.isdigit() else None
        by_id = dict(windows)
        order = ([(active, by_id[active])] if active in by_id else []) + windows
        dialogs = [(w, t) for w, t in order if kind_of(t) not in ("main", "player", "progress")]
        if dialogs:
            wid, title = dialogs[0]
        elif active in by_id:
            wid, title = active, by_id[active]
        else:
            main = [(w, t) for w, t in windows if kind_of(t) == "main"]
            if not main:
                raise Replay(self.report("the main window is not there: %s" % windows))
            wid, title = main[0]
        return kind_of(title), wid, title

    def program_windows(self):
        if not self.j.program.running():
            return []
        return self.d.windows(".", self.j.program.pid)

    # ---- is the program still there? ---------------------------------------------------------

    def alive(self, what):
        """Checks that the program runs, reported nothing and repaints its window; a program
        that a recent step ended as a person ends it is started again."""
        program = self.j.program
        if not program.running():
            code = program.proc.returncode
            self.check_log()
            if code == 0 and (self.exit_asked or exiting(what)):
                self.note("the program ended; started again")
                self.restarts += 1
                self.exit_asked = False
                self.log_seen = 0
                self.start()
                self.rv.focus()
                return "started again"
            raise Replay(self.report("the program ended with %s after: %s" % (
                describe_exit(code), what)))
        self.check_log()
        try:
            wid = self.d.wait_window(MAIN, 10, program.pid)
            self.d.wait(lambda: self.d.viewable(wid), 10, "the main window is not mapped")
            x, y, w, h = self.d.geometry(wid)
            self.d.repaints((x + w - 70, y + MENU_BAR_HEIGHT + 8, 40, 12), HANG_SECONDS)
        except DriveError as e:
            if not program.running():
                return self.alive(what)
            self.check_log()
            raise Replay(self.report("the program does not answer (%s) after: %s" % (e, what)))

    def check_log(self):
        log = self.j.program.log()
        found = SANITIZER.search(log, self.log_seen)
        if found:
            start = log.rfind("\n", 0, found.start()) + 1
            lines = log[start:].splitlines()
            # The report's head: what went wrong and where; the whole is in program.log.
            head = [line for line in lines[:60] if not line.strip().startswith("0x0")][:28]
            raise Replay(self.report("a sanitizer report (whole in %s):\n%s" % (
                self.j.program.log_path, "\n".join(head))))
        self.log_seen = max(0, len(log) - 200)

    def report(self, why):
        shot = self.j.shot("random use %d step %d" % (self.seed, self.number))
        program = os.path.relpath(self.j.binary, os.getcwd())
        if program.startswith(".."):
            program = self.j.binary
        return ("%s\nseed %d, step %d%s; the last steps:\n%s\nreplay: bash scripts/random-use "
                "--program %s --seed %d --steps %d" % (
                    why, self.seed, self.number, " (screenshot %s)" % shot if shot else "",
                    "\n".join(self.history), shlex.quote(program), self.seed, self.number))

    # ---- what a person does ------------------------------------------------------------------

    def word(self):
        return self.rng.choice(WORDS)

    def region(self, part):
        return self.rv.region(part)

    def point_in(self, region):
        x, y, w, h = region
        return (x + self.rng.randrange(4, max(5, w - 4)), y + self.rng.randrange(3, max(4, h - 3)))

    def press_close(self, wid):
        spot = self.d.close_button(wid)
        if spot is None:
            self.d.key("Escape")
            return "Escape (no close button)"
        self.d.click(*spot)
        return "the close button"

    def open_menu(self, menu):
        """Clicks a menu of the bar where it was read once; returns the menu's region."""
        self.close_menus()
        x, y, w, h = self.rv.client()
        if menu not in self.menu_bar:
            self.rv.focus()
            for name in MENUS:
                found = self.d.wait_text(name, (x, y, min(w, 300), MENU_BAR_HEIGHT + 2))
                self.menu_bar[name] = found.centre[0] - x
        before = set(self.d.popups("Lorvix Reelvault"))
        self.d.click(x + self.menu_bar[menu], y + MENU_BAR_HEIGHT // 2)
        return self.rv.popup(before)

    def items_of(self, key, region, captions):
        """Where the items of a menu are, read once for menus of that height."""
        cached = self.menu_items.get((key, region[3]))
        if cached:
            return cached
        names = [c[0] if isinstance(c, tuple) else c for c in captions]
        places = {}
        # Within the menu's border, which OCR takes for a letter or two.
        inside = (region[0] + 2, region[1] + 2, region[2] - 4, region[3] - 4)
        for scale in (3, 4, 3):
            shot = self.d._scratch_shot()
            for line, words in self.d.lines(inside, faint=True, shot=shot, scale=scale):
                for name in names:
                    if name not in places and listed(name, [line]):
                        places[name] = min(w.y for w in words) + max(w.h for w in words) // 2 \
                            - region[1]
            if len(places) == len(names):
                self.menu_items[(key, region[3])] = places
                return places
            time.sleep(0.3)
        raise DriveError("the menu %s at %s reads %s, not all of %s" % (
            key, region, [t for t, _ in self.d.lines(region, faint=True)], names))

    def choose(self, key, region, captions, path):
        places = self.items_of(key, region, captions)
        item = self.rng.choice(captions)
        name, sub = item if isinstance(item, tuple) else (item, None)
        path.append(name)
        before = set(self.d.popups("Lorvix Reelvault"))
        self.d.click(region[0] + 40, region[1] + places[name])
        try:
            dropped = self.rv.popup(before) if sub else None
        except DriveError:
            dropped = None
        if dropped:
            self.choose(name, dropped, sub, path)
        elif self.given_up(before):
            path.append("(disabled: Escape)")
        elif sub:
            raise DriveError("%s closed and dropped no menu" % key)

    def command(self, menu, item):
        """Chooses a menu item; False when it was disabled."""
        region = self.open_menu(menu)
        places = self.items_of(menu, region, MENUS[menu])
        before = set(self.d.popups("Lorvix Reelvault"))
        self.d.click(region[0] + 40, region[1] + places[item])
        return not self.given_up(before)

    def given_up(self, before):
        """Whether the item just clicked was disabled. Such an item, with a sub-menu or without,
        keeps its menu open: a person then closes the menus and gives up on it. (Left open, the
        menu would take the next step's keys: Up Return there chooses Exit.)"""
        time.sleep(0.3)
        if not set(self.d.popups("Lorvix Reelvault")) & before:
            return False
        self.close_menus()
        return True

    def close_menus(self):
        for _ in range(4):
            if not self.d.popups("Lorvix Reelvault"):
                return
            self.d.key("Escape", pause=0.15)


def kind_of(title):
    if re.match(MAIN + "$", title):
        return "main"
    if title == PLAYER:
        return "player"
    if title == PROGRESS:
        return "progress"
    if title in QUESTIONS:
        return "question"
    if title == "Select directory":
        return "folder"
    if title in EDITORS:
        return "editor"
    if title.startswith("About"):
        return "about"
    return "file"


EDITORS = {"Library Properties", "Artist Properties", "Album Properties", "Track Properties",
           "New Track", "Preferences", "Dudida Client"}


def exiting(step):
    """Whether a step asked the program to end as a person asks it: Exit, or the main window's
    close button; the questions of saving may follow before it ends."""
    return any(k in step for k in ("> Exit", "tool bar Exit", "main window: the close button"))


def describe_exit(code):
    return "signal %d" % -code if code is not None and code < 0 else "exit code %s" % code


# ---- actions on the main window ----------------------------------------------------------------

def menu_command(r, wid, title):
    menu = r.rng.choice(list(MENUS))
    region = r.open_menu(menu)
    path = [menu]
    r.choose(menu, region, MENUS[menu], path)
    return " > ".join(path)


def popup_command(r, wid, title):
    x, y, w, h = r.region("tree")
    # Mostly on the first rows, where the artists and albums are; now and then below them.
    rows = 100 if r.rng.random() < 0.75 else min(h, 250)
    spot = (x + r.rng.randrange(10, w - 10), y + r.rng.randrange(4, rows))
    r.close_menus()
    before = set(r.d.popups("Lorvix Reelvault"))
    r.d.click(*spot, button=3)
    try:
        region = r.d.wait(lambda: [g for w_, g in r.d.popups("Lorvix Reelvault").items()
                                   if w_ not in before], 3, "")[0]
    except DriveError:
        return "right click in the tree at %s: no pop-up menu" % (spot,)
    path = ["pop-up at %s" % (spot,)]
    r.choose("pop-up", region, POPUP, path)
    return " > ".join(path)


VIEWS = ["tree", "right", "right", "counts", "file", "header", "album"]


def view_click(r, wid, title):
    view = r.rng.choice(VIEWS)
    if view == "header":
        x, y, w, h = r.rv.list_header()
        region = (x, y, w, h)
    elif view == "album":
        x, y, w, h = r.region("right")
        region = (x, y, w, 91)
    else:
        region = r.region(view)
    spot = r.point_in(region)
    how = r.rng.choice(["click", "click", "double click", "right click"])
    r.d.click(*spot, button=3 if how == "right click" else 1, double=how == "double click")
    return "%s in the %s at %s" % (how, view, spot)


def view_keys(r, wid, title):
    keys = [r.rng.choice(VIEW_KEYS) for _ in range(r.rng.randrange(1, 5))]
    r.d.key(*keys)
    return "keys %s" % " ".join(keys)


def typed(r, wid, title):
    word = r.word()
    r.d.type(word)
    return "typed %r" % word


def tool_button(r, wid, title):
    name, left = r.rng.choice(TOOL_BUTTONS)
    x, y, w, h = r.region("tools")
    r.d.click(x + left + 20, y + 14)
    return "tool bar %s" % name


def main_close(r, wid, title):
    return "main window: %s" % r.press_close(wid)


def wait_a_little(r, wid, title):
    time.sleep(1.0)
    return "waited"


MAIN_ACTIONS = [(menu_command, 26), (popup_command, 18), (view_click, 18), (view_keys, 14),
                (typed, 5), (tool_button, 8), (main_close, 1)]


# ---- actions on dialogs and other windows --------------------------------------------------------

def activated(f):
    @functools.wraps(f)
    def run(r, wid, title):
        r.d.activate(wid)
        return f(r, wid, title)
    return run


@activated
def dialog_type(r, wid, title):
    word = r.word()
    if r.rng.random() < 0.5:
        r.d.key("ctrl+a")
    r.d.type(word)
    return "typed %r" % word


@activated
def dialog_keys(r, wid, title):
    keys = [r.rng.choice(DIALOG_KEYS) for _ in range(r.rng.randrange(1, 4))]
    r.d.key(*keys)
    return "keys %s" % " ".join(keys)


@activated
def dialog_click(r, wid, title):
    spot = r.point_in(r.d.geometry(wid))
    how = r.rng.choice(["click", "click", "double click"])
    r.d.click(*spot, double=how == "double click")
    return "%s at %s" % (how, spot)


def pressing(key, text):
    """An action that presses one key in the window in front."""
    @activated
    def press(r, wid, title):
        r.d.key(key, pause=0.5)
        return text
    return press


dialog_ok = pressing("Return", "Return (OK)")
dialog_escape = pressing("Escape", "Escape")
answer_yes = pressing("alt+y", "Yes (alt+y)")
answer_no = pressing("alt+n", "No (alt+n)")
stop_scan = pressing("Escape", "Escape (Stop)")


# The buttons a dialog of each kind may have, with the key that presses each.
BUTTONS = {"editor": {"OK": "Return", "Cancel": "Escape"},
           "question": {"Yes": "alt+y", "No": "alt+n", "Cancel": "Escape", "OK": "Return"},
           "about": {"OK": "Return"},
           "file": {"Cancel": "Escape", "Open": "Return", "Save": "Return"},
           "folder": {"Cancel": "Escape", "Choose": "Return"}}


@activated
def dialog_button(r, wid, title):
    """Clicks a button by its caption, read once for dialogs of that title and size; a caption
    that does not read is pressed by its key instead."""
    buttons = BUTTONS[kind_of(title)]
    caption = r.rng.choice(sorted(buttons))
    x, y, w, h = r.d.geometry(wid)
    key = (title, w, h, caption)
    if key not in r.places:
        found = r.d.find(caption, (x, y, w, h))
        r.places[key] = (found.centre[0] - x, found.centre[1] - y) if found else None
    if r.places[key] is None:
        r.d.key(buttons[caption], pause=0.5)
        return "%s (its key, %s)" % (caption, buttons[caption])
    r.d.click(x + r.places[key][0], y + r.places[key][1], pause=0.5)
    return "clicked %s" % caption


def dialog_close(r, wid, title):
    return r.press_close(wid)


def file_names(r):
    return [os.path.join(r.saved, "library-%d.rvl" % r.rng.randrange(3)),
            os.path.join(r.saved, "page-%d.xml" % r.rng.randrange(2)),
            r.other, r.rng.choice(r.songs), r.music, os.path.join(r.saved, r.word()),
            r.j.path("missing", "nothing.rvl")]


def type_path(r, path):
    """Types a path into a file or folder dialog's name field in place of what it holds."""
    time.sleep(0.3)
    r.d.key("ctrl+a")
    r.d.type(path)
    r.d.key("Return", pause=0.8)
    return "typed %s, Return" % path


@activated
def file_path(r, wid, title):
    return type_path(r, r.rng.choice(file_names(r)))


@activated
def folder_path(r, wid, title):
    return type_path(r, r.rng.choice([r.music, os.path.join(r.music, "Two"), r.damaged,
                                      r.empty, r.j.path("missing"), "/dev/sr0", r.word()]))


@activated
def folder_cd(r, wid, title):
    """The fake drive's button: the disc is looked up at the loopback CDDB server."""
    x, y, w, h = r.d.geometry(wid)
    key = ("cd", w, h)
    if key not in r.places:
        found = r.d.wait_text("Audio CD (/dev/sr0)", (x, y, w, h))
        r.places[key] = (found.centre[0] - x, found.centre[1] - y)
    dx, dy = r.places[key]
    r.d.click(x + dx, y + dy)
    return "Audio CD (/dev/sr0)"


def player_button(r, wid, title):
    name = r.rng.choice(list(PLAYER_BUTTONS))
    x, y, w, h = r.d.geometry(wid)
    r.d.click(x + PLAYER_BUTTONS[name], y + PLAYER_BUTTON_Y)
    return "player %s" % name


def player_seek(r, wid, title):
    x, y, w, h = r.d.geometry(wid)
    end = (x + r.rng.randrange(30, 500), y + 37)
    r.d.drag((x + 29, y + 37), end)
    return "player position dragged to %s" % (end,)


def back_to_main(r, wid, title):
    x, y, w, h = r.region("tree")
    r.d.click(x + 5, y + h - 5)
    return "clicked the main window"


DIALOG_ACTIONS = {
    "editor": [(dialog_type, 25), (dialog_keys, 18), (dialog_click, 10), (dialog_ok, 14),
               (dialog_escape, 10), (dialog_button, 10), (dialog_close, 8), (back_to_main, 2)],
    "question": [(answer_yes, 25), (answer_no, 20), (dialog_escape, 12), (dialog_ok, 10),
                 (dialog_button, 15), (dialog_close, 10), (dialog_click, 5), (back_to_main, 3)],
    "file": [(file_path, 55), (dialog_escape, 12), (dialog_button, 5), (dialog_close, 10),
             (dialog_type, 8), (dialog_keys, 7), (back_to_main, 3), (dialog_ok, 2)],
    "folder": [(folder_path, 50), (folder_cd, 8), (dialog_escape, 12), (dialog_button, 5),
               (dialog_close, 10), (dialog_keys, 8), (dialog_click, 5), (back_to_main, 3),
               (dialog_ok, 2)],
    "about": [(dialog_ok, 25), (dialog_escape, 25), (dialog_button, 10), (dialog_click, 20),
              (dialog_keys, 15), (back_to_main, 5)],
    "progress": [(wait_a_little, 60), (stop_scan, 25), (back_to_main, 15)],
    "player": [(player_button, 40), (player_seek, 10), (dialog_close, 12), (back_to_main, 38)],
}


def journey(seed, steps=None, deadline=None):
    """A journey body for the runner: `steps` random steps, or as many as there is time for
    until `deadline` (seconds since the epoch), whichever comes first."""
    def body(j):
        RandomUse(j, seed, steps, deadline).run()
    return body


# The seeds that CI runs, each a short journey of its own.
CI_SEEDS = [11, 12]
CI_STEPS = 35
ALL = {"random-use-%d" % seed: journey(seed, CI_STEPS) for seed in CI_SEEDS}
