"""The journeys, in the order a person meets the program. Each takes a Journey and runs its
steps; checks look at what a person sees: window titles, the files written and the screen."""

import os

import media
from desktop import reads
from journey import check
from reelvault import MAIN, Reelvault, expect_listed, listed

ALWAYS = ["New", "Open...", "Preferences...", "Exit"]
NEED_LIBRARY = ["Save As...", "Save to Presentation", "Append from File...", "Scan..."]


def fresh_start(j):
    rv = Reelvault(j)
    with j.step("start: the main window comes up"):
        rv.start()
    with j.step("the caption names no library"):
        check(rv.caption() == "Lorvix Reelvault - []", "caption %r" % rv.caption())
    with j.step("File: Save, Save As, Scan, Append, Presentation disabled"):
        every, enabled = rv.menu_states("File")
        for item in ALWAYS:
            expect_listed(item, enabled, "the enabled File items")
        for item in ["Save"] + NEED_LIBRARY:
            expect_listed(item, every, "the File menu")
            check(not listed(item, enabled), "%r is enabled on a fresh start" % item)
    with j.step("Edit: Add Track and Library Properties disabled"):
        every, enabled = rv.menu_states("Edit")
        for item in ["Add Track...", "Library Properties...", "Add Track from File..."]:
            expect_listed(item, every, "the Edit menu")
            check(not listed(item, enabled), "%r is enabled on a fresh start" % item)
    with j.step("the tool bar's Save and Scan are greyed"):
        x, y, w, h = rv.region("tools")
        shot = j.desktop._scratch_shot()
        dark = [t for t, _ in j.desktop.lines((x, y, w, h), dark_only=True, shot=shot)]
        line = " ".join(dark)
        check("New" in line and "Open" in line, "the tool bar reads %r" % line)
        check("Save" not in line and "Scan" not in line, "the tool bar reads %r" % line)


def scan_every_format(j):
    rv = Reelvault(j)
    folder = j.path("Every Format")
    with j.step("make a folder of real files of every format"):
        made = media.every_format(folder)
        check(len(made) >= 4, "the encoders made only %s" % made)
        files = [n for n in os.listdir(folder) if not n.startswith(".")]
    with j.step("start and make the library Rock"):
        rv.start()
        rv.new_library("Rock")
        check(rv.counts() == (0, 0, 0), "counts %s" % (rv.counts(),))
    with j.step("scan the folder: the progress window comes and goes"):
        rv.scan(folder)
    with j.step("the status bar counts one track per file"):
        artists, albums, tracks = rv.counts()
        check(tracks == len(files), "%d tracks for %d files" % (tracks, len(files)))
        check(artists >= 2 and albums >= 2, "counts %s" % ((artists, albums, tracks),))
    with j.step("the tree lists the artists"):
        lines = rv.tree_lines()
        expect_listed(media.ARTIST, lines, "the tree")
    with j.step("open the album: its track rows with times, rates, modes, formats"):
        rv.click_in_tree(media.ARTIST, double=True)
        rv.click_in_tree(media.ALBUM)
        j.desktop.wait_text(made[0][1], rv.region("right"), invert=True)
        readings = rv.right_readings()
        for name, title, track, fmt, mode in made:
            check(any(row_shows(rows, title, ["00:02", mode, fmt]) for rows in readings),
                  "no row of %s (%s) shows 00:02, %r and %r: %s" % (title, name, mode, fmt,
                                                                    readings[0]))
        check(any(row_shows(rows, "Lame Song", ["128"]) for rows in readings),
              "the MP3's bit rate is not 128: %s" % readings[0])


def row_shows(rows, key, texts):
    """Whether a row that reads as `key` shows every one of the texts."""
    return any(reads(row, key) and all(reads(row, t) for t in texts) for row in rows)


ALL = {
    "fresh-start": fresh_start,
    "scan-every-format": scan_every_format,
}

__all__ = ["ALL", "MAIN"]
