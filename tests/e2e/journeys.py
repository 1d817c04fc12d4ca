"""The journeys, in the order a person meets the program. Each takes a Journey and runs its
steps; checks look at what a person sees: window titles, the files written and the screen."""

import os
import subprocess
import time
from xml.etree import ElementTree

import media
from desktop import reads
from journey import check
from reelvault import (PLAYER, PLAYER_BUTTON_Y, PLAYER_BUTTONS, Reelvault, expect_listed,
                       listed)

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
    with j.step("Help > About: the copyright line writes a mail to the maker"):
        rv.menu("Help", "About...")
        wid, _ = rv.dialog("About.*")
        j.desktop.click_text("Copyright", j.desktop.geometry(wid), part=True)
        j.desktop.wait(j.desktop.opened, 10, "nothing was opened")
        check(j.desktop.opened() == ["mailto:hello@reelvault.example"],
              "opened %r" % j.desktop.opened())
        j.desktop.key("Escape")
        rv.gone(wid)


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


def stop_long_scan(j):
    rv = Reelvault(j)
    folder = j.path("Long")
    # Long enough that the progress window stays up for seconds on a busy two-core machine,
    # where 150000 files took little more than one.
    count = 600000
    with j.step("make a folder of %d files" % count):
        media.many_files(folder, count, media.untagged(j.path("seed.mp3")))
    with j.step("start, make a library and scan the folder"):
        rv.start()
        rv.new_library("Long")
        rv.scan(folder, wait=False)
        j.desktop.wait(rv.progress, 10, "no progress window")
    with j.step("Escape in the progress window stops the scan"):
        j.desktop.activate(rv.progress())
        j.desktop.key("Escape")
        j.desktop.wait(lambda: not rv.progress(), 20, "the progress window stayed open")
    with j.step("the tracks filed until then stay; the rest were not"):
        rv.wait_scan_end(5)
        artists, albums, tracks = rv.counts()
        check(0 < tracks < count, "%d of %d files filed after Stop" % (tracks, count))
        check(j.program.running(), "the program ended")


def save_quit_reopen(j):
    rv = Reelvault(j)
    first, second = j.path("First"), j.path("Second")
    library = j.path("libraries", "Rock.rvl")
    with j.step("a library of one album, saved as Rock.rvl"):
        media.sample_album(first, "Saved Artist", "Saved Album", ["One", "Two", "Three"])
        media.sample_album(second, "Unsaved Artist", "Unsaved Album", ["Four"])
        os.makedirs(os.path.dirname(library))
        rv.start()
        rv.new_library("Rock")
        rv.scan(first)
        rv.save_as(library)
        check(rv.counts() == (1, 1, 3), "counts %s" % (rv.counts(),))
        with open(library, "rb") as f:
            saved = f.read()
        check(b"Saved Artist" in saved and b"<TRACK_COUNT>3<" in saved, "the file holds: %r" %
              saved[:300])
    with j.step("Open the saved file: it joins the recent files"):
        rv.menu("File", "Open...")
        rv.file_dialog(library)
        rv.wait_counts((1, 1, 3))
    with j.step("a change after opening, then Exit: Cancel keeps the window"):
        rv.scan(second)
        check(rv.counts() == (2, 2, 4), "counts %s" % (rv.counts(),))
        rv.menu("File", "Exit")
        rv.answer("Cancel", text="Save changes?")
        time.sleep(0.5)
        check(j.program.running(), "the program ended")
        check(rv.caption() == "Lorvix Reelvault - [Rock]", "caption %r" % rv.caption())
        check(rv.counts() == (2, 2, 4), "counts %s" % (rv.counts(),))
    with j.step("Exit again: No quits without saving"):
        rv.menu("File", "Exit")
        rv.answer("No", text="Save changes?")
        check(j.program.wait_exit() == 0, "the program ended with an error")
        with open(library, "rb") as f:
            check(f.read() == saved, "the library file changed")
    with j.step("start again: the recent file is in the File menu"):
        rv.start()
        region = rv.open_menu("File")
        found = j.desktop.wait_text("Rock.rvl", region, part=True)
        j.desktop.click(*found.centre)
    with j.step("reopened from there: the same tree"):
        j.desktop.wait(lambda: rv.caption() == "Lorvix Reelvault - [Rock]", 10,
                       "caption %r" % rv.caption())
        rv.wait_counts((1, 1, 3))
        lines = rv.tree_lines()
        expect_listed("Saved Artist", lines, "the tree")
        check(not any("Unsaved" in line for line in lines), "the tree: %s" % lines)


LIBRARY_B = """<?xml version="1.0" encoding="windows-1250"?>
<Lorvix_Media_Library version="1.0">
\t<LIBRARY_NAME>Jazz</LIBRARY_NAME>
\t<ARTIST_COUNT>1</ARTIST_COUNT>
\t<ALBUM_COUNT>2</ALBUM_COUNT>
\t<TRACK_COUNT>3</TRACK_COUNT>
\t<ARTIST>
\t\t<Name>Appended Artist</Name>
\t\t<ALBUM>
\t\t\t<TITLE>Kept Album</TITLE><RELEASE>1961</RELEASE><GENRE>Jazz</GENRE>
\t\t\t<MEDIA_TYPE>1</MEDIA_TYPE><TIME>300</TIME>
\t\t\t<TRACK><ID>1</ID><TITLE>Slow</TITLE><DURATION>300</DURATION><BITRATE>128</BITRATE>
\t\t\t<CHANNEL_MODE>Stereo</CHANNEL_MODE><FORMAT>MPEG 1 Layer III</FORMAT></TRACK>
\t\t</ALBUM>
\t\t<ALBUM>
\t\t\t<TITLE>Doomed Album</TITLE><RELEASE>1962</RELEASE><GENRE>Jazz</GENRE>
\t\t\t<MEDIA_TYPE>1</MEDIA_TYPE><TIME>200</TIME>
\t\t\t<TRACK><ID>1</ID><TITLE>Gone</TITLE><DURATION>100</DURATION><BITRATE>128</BITRATE>
\t\t\t<CHANNEL_MODE>Stereo</CHANNEL_MODE><FORMAT>MPEG 1 Layer III</FORMAT></TRACK>
\t\t\t<TRACK><ID>2</ID><TITLE>Lost</TITLE><DURATION>100</DURATION><BITRATE>128</BITRATE>
\t\t\t<CHANNEL_MODE>Stereo</CHANNEL_MODE><FORMAT>MPEG 1 Layer III</FORMAT></TRACK>
\t\t</ALBUM>
\t</ARTIST>
</Lorvix_Media_Library>
"""


CYRILLIC_ARTIST = "\u0418\u0432\u0430\u043d"  # Ivan


def with_layout(j, layout):
    """Gives the keyboard a second layout, as a person writing in two scripts has: xdotool then
    types that script's letters with keys of their own instead of lending it spare keys, which
    the program may read only after they were taken back."""
    subprocess.run(["setxkbmap", "-layout", "us," + layout], env=j.desktop.env(), check=True)
    time.sleep(1)


def type_track_artist(rv, j, title, artist):
    """Opens Track Properties of the listed track and types the artist over the one it has;
    returns the dialog's window."""
    rv.click_in_list(title)
    rv.menu("Edit", "Track Properties...")
    wid, _ = rv.dialog("Track Properties")
    label = j.desktop.wait_text("Artist:", j.desktop.geometry(wid))
    j.desktop.click(label.x + label.w + 60, label.centre[1])
    j.desktop.key("ctrl+a")
    j.desktop.type(artist)
    return wid


CYRILLIC_RENAMED = "\u041f\u0451\u0442\u0440"  # Pyotr


def rename_artist(rv, j, name, typed):
    """Opens Artist Properties of the artist and types the new name at once, as a person does who
    sees the old one selected."""
    rv.click_in_tree(name)
    rv.menu("Edit", "Artist Properties...")
    wid, _ = rv.dialog("Artist Properties")
    time.sleep(0.3)
    j.desktop.type(typed)
    j.desktop.key("Return")
    rv.gone(wid)


def append_edit_delete_sort(j):
    rv = Reelvault(j)
    album = j.path("Album")
    other = j.path("Jazz.rvl")
    with j.step("a library of one album scanned"):
        media.sample_album(album, "Scanned Artist", "Scanned Album", ["Charlie", "Alpha", "Bravo"],
                           seconds=2)
        with open(other, "w", encoding="cp1250") as f:
            f.write(LIBRARY_B)
        rv.start_with_scan("Rock", album, (1, 1, 3))
    with j.step("Append from File: the second library joins it"):
        rv.menu("File", "Append from File...")
        rv.answer("No", text="Save changes?")
        rv.file_dialog(other)
        rv.wait_counts((2, 3, 6))
        expect_listed("Appended Artist", rv.tree_lines(), "the tree")
        check(rv.caption() == "Lorvix Reelvault - [Rock]", "caption %r" % rv.caption())
    with j.step("Track Properties: a track's artist edited"):
        rv.click_in_tree("Scanned Artist", double=True)
        rv.click_in_tree("Scanned Album")
        wid = type_track_artist(rv, j, "Alpha", "Edited Artist")
        j.desktop.key("Return")
        rv.gone(wid)
    with j.step("the track moved to the new artist"):
        rv.wait_counts((3, 4, 6))
        expect_listed("Edited Artist", rv.tree_lines(), "the tree")
    with j.step("Delete Album: the album and its tracks go"):
        rv.click_in_tree("Appended Artist", double=True)
        rv.click_in_tree("Doomed Album")
        rv.menu("Edit", "Delete Album")
        rv.answer("Yes", text="Delete selected album?")
        rv.wait_counts((3, 3, 4))
        check(not any("Doomed" in line for line in rv.tree_lines()), "the tree still shows it")
    with j.step("the track list sorted by clicking its Track column"):
        rv.click_in_tree("Scanned Artist", double=True)
        j.desktop.key("Down")
        j.desktop.wait_text("Charlie", rv.region("right"), invert=True)
        rv.wait_order(["Charlie", "Bravo"], "by number")
        header = rv.column_caption("Track")
        j.desktop.click(*header.centre)
        rv.wait_order(["Bravo", "Charlie"], "by title")
        j.desktop.click(*header.centre)
        rv.wait_order(["Charlie", "Bravo"], "by title, descending")
    with j.step("Track Properties typed in Cyrillic: the track goes to the new artist"):
        with_layout(j, "ru")
        wid = type_track_artist(rv, j, "Bravo", CYRILLIC_ARTIST)
        # Tab into the album: its text is selected, so the new title replaces it.
        j.desktop.key("Tab")
        j.desktop.type("Other Album")
        j.desktop.key("Return")
        rv.gone(wid)
        rv.wait_counts((4, 4, 4))
    with j.step("its first letters typed in Cyrillic in the tree find the artist"):
        rv.click_in_tree("Appended Artist")
        j.desktop.wait_text("Kept Album", rv.region("right"), invert=True)
        j.desktop.type(CYRILLIC_ARTIST[:2])
        j.desktop.wait_text("Other Album", rv.region("right"), invert=True)
    with j.step("Artist Properties: a name typed at once replaces the old one"):
        rename_artist(rv, j, "Edited Artist", "Renamed Artist")
        lines = rv.tree_lines()
        expect_listed("Renamed Artist", lines, "the tree")
        check(not any("Edited" in line for line in lines), "the old name stays: %s" % lines)
    with j.step("Artist Properties: a name typed at once in Cyrillic replaces the old one"):
        rename_artist(rv, j, "Renamed Artist", CYRILLIC_RENAMED)
    with j.step("saved, the library file names the artist and the album as typed"):
        library = j.path("Rock.rvl")
        rv.save_as(library)
        saved = ElementTree.parse(library)
        artists = [e.text for e in saved.iter("Name")]
        check(CYRILLIC_ARTIST in artists, "the artists saved: %s" % artists)
        check(CYRILLIC_RENAMED in artists and not any("Renamed" in a for a in artists),
              "the artists saved: %s" % artists)
        titles = [e.text for e in saved.iter("TITLE")]
        check("Other Album" in titles, "the album titles saved: %s" % titles)


def detail_presentation(j):
    rv = Reelvault(j)
    album = j.path("Album")
    pages = j.path("pages")
    with j.step("a library Rock with two artists"):
        os.makedirs(pages)
        media.sample_album(album, "Page Artist", "Page Album", ["Uno", "Dos"])
        media.sample_album(j.path("Album", "more"), "Second Page Artist", "More", ["Tres"])
        rv.start_with_scan("Rock", album, (2, 2, 3))
    with j.step("Save to Presentation, Detail: the name proposed is Rock_Detail"):
        rv.menu("File", "Save to Presentation", "Detail...")
        wid, _ = rv.dialog()
        j.desktop.wait_text("Rock_Detail", j.desktop.geometry(wid), part=True, dark_only=True)
        rv.file_dialog(os.path.join(pages, "Rock_Detail.xml"))
        rv.answer("No", text="Show presentation?")
        for name in ("Rock_Detail.xml", "Rock_Detail.htm"):
            check(os.path.exists(os.path.join(pages, name)), "%s was not written" % name)
    with j.step("the page in headless Chromium lists the artists"):
        port = j.start_http(pages)
        url = "http://127.0.0.1:%d/Rock_Detail.htm" % port
        dom = chromium(j, ["--dump-dom"], url)
        for artist in ("Page Artist", "Second Page Artist", "Uno", "Tres"):
            check(artist in dom, "the page does not show %r" % artist)
        chromium(j, ["--screenshot=" + os.path.join(j.out, "page.png"),
                     "--window-size=1000,700"], url)
    with j.step("opened from disk, the page gives way to an indented tree of the library"):
        url = "file://" + os.path.join(pages, "Rock_Detail.htm")
        dom = chromium(j, ["--dump-dom"], url)
        for text in ("Page Artist", "Second Page Artist", "Uno", "Tres", "TRACK"):
            check(text in dom, "the page from disk does not show %r" % text)
        check("by artist." not in dom, "the page from disk kept its frame")
        for scale in (1, 2):
            chromium(j, ["--screenshot=" + os.path.join(j.out, "page-from-disk-%dx.png" % scale),
                         "--window-size=1000,700", "--force-device-scale-factor=%d" % scale], url)


def chromium(j, options, url):
    profile = j.path("chromium-profile")
    proc = subprocess.run(["timeout", "90", "chromium", "--headless", "--no-sandbox",
                           "--disable-gpu", "--no-first-run", "--user-data-dir=" + profile,
                           "--virtual-time-budget=5000", *options, url],
                          capture_output=True, text=True, env=j.desktop.env())
    return proc.stdout


def set_site(rv, j, site):
    rv.menu("File", "Preferences...")
    wid, _ = rv.dialog("Preferences")
    time.sleep(0.3)
    j.desktop.key("ctrl+a")
    j.desktop.type(site)
    return wid


def fake_site(j, path="/two/cddb.cgi", name="Fake"):
    """Starts the loopback CDDB server; returns its site as Preferences takes it."""
    return "127.0.0.1 http %d %s N000.00 W000.00 %s" % (j.start_cddb(), path, name)


def audio_cd(j):
    rv = Reelvault(j)
    with j.step("the CDDB site set to the loopback fake in Preferences"):
        rv.start()
        wid = set_site(rv, j, fake_site(j))
        j.desktop.key("Return")
        rv.gone(wid)
        rv.new_library("CDs")
    with j.step("Scan, the CD drive: the matches are offered"):
        rv.menu("File", "Scan...")
        wid, _ = rv.dialog("Select directory")
        j.desktop.click_text("Audio CD (/dev/sr0)", j.desktop.geometry(wid))
        match, _ = rv.dialog("Dudida Client", 20)
        j.desktop.wait_text("First Artist / First Album", j.desktop.geometry(match), part=True)
    with j.step("pick the first match: three tracks appear"):
        j.desktop.click_text("First Artist / First Album", j.desktop.geometry(match), part=True)
        j.desktop.key("Return")
        rv.gone(match)
        rv.wait_counts((1, 1, 3), 20)
        rv.click_in_tree("First Artist", double=True)
        rv.click_in_tree("First Album")
        j.desktop.wait_text("Gamma", rv.region("right"), invert=True)
        rows = rv.right_lines()
        for title, time_text in (("Alpha", "04:08"), ("Beta", "04:20"), ("Gamma", "03:30")):
            check(any(reads(r, title) and reads(r, time_text) and reads(r, "CD Audio")
                      for r in rows), "no row %s %s CD Audio: %s" % (title, time_text, rows))
    with j.step("a site that knows no such disc: a box says so, the library stays"):
        wid = set_site(rv, j, fake_site(j, "/nomatch/cddb.cgi"))
        j.desktop.key("Return")
        rv.gone(wid)
        rv.menu("File", "Scan...")
        wid, _ = rv.dialog("Select directory")
        j.desktop.click_text("Audio CD (/dev/sr0)", j.desktop.geometry(wid))
        rv.answer("OK", title="Information", text="No match found")
        check(not rv.progress(), "the progress window stayed open")
        rv.wait_counts((1, 1, 3))


def preferences_kept(j):
    rv = Reelvault(j)
    with j.step("Preferences: Get Sites lists the server's HTTP sites"):
        rv.start()
        wid = set_site(rv, j, fake_site(j))
        box = j.desktop.geometry(wid)
        sites = j.desktop.click_text("Get Sites", box)
        time.sleep(1.5)
        # The combo box's arrow, just left of the button.
        j.desktop.click(sites.x - 38, sites.centre[1])
        j.desktop.wait_text("mirror.example", None, part=True)
        for site in ("cddbp.example", "noport.example", "short.example", "huge.example"):
            check(j.desktop.find(site, None, part=True) is None, "%s is listed" % site)
        j.desktop.click_text("mirror.example", None, part=True)
    with j.step("the proxy fields filled, OK"):
        j.desktop.click_text("Proxy Server:", box)
        fields = [("Username:", "alice"), ("Password:", "secret")]
        server = j.desktop.find("Proxy Server:", box)
        j.desktop.click(server.x + 60, server.y + 35)
        j.desktop.key("ctrl+a")
        j.desktop.type("proxy.local")
        j.desktop.key("Tab")
        j.desktop.key("ctrl+a")
        j.desktop.type("3128")
        for label, value in fields:
            found = j.desktop.find(label, box)
            j.desktop.click(found.x + found.w + 40, found.centre[1])
            j.desktop.key("ctrl+a")
            j.desktop.type(value)
        j.desktop.key("Return")
        rv.gone(wid)
    with j.step("the settings file holds them, the password coded"):
        settings = os.path.join(j.config, "lorvix-reelvault", "hkcu.reg")
        j.desktop.wait(lambda: os.path.exists(settings), 5, "no settings file")
        with open(settings, encoding="utf-8", errors="replace") as f:
            text = f.read()
        for value in ("mirror.example", "proxy.local", "3128", "alice"):
            check(value in text, "%r is not in the settings: %s" % (value, text))
        check("secret" not in text, "the password is stored as it was typed")
    with j.step("Exit, start again: Preferences shows the same values"):
        rv.menu("File", "Exit")
        check(j.program.wait_exit() == 0, "the program ended with an error")
        rv.start()
        rv.menu("File", "Preferences...")
        wid, _ = rv.dialog("Preferences")
        box = j.desktop.geometry(wid)
        time.sleep(0.3)
        j.desktop.key("Home")
        for value in ("mirror.example", "proxy.local", "3128", "alice"):
            j.desktop.wait_text(value, box, part=True)
        j.desktop.key("Escape")
        rv.gone(wid)


def player(j):
    rv = Reelvault(j)
    songs = j.path("Songs")
    with j.step("the player window from the Tools menu"):
        media.sample_album(songs, "Player Artist", "Player Album", ["First", "Second"],
                           seconds=20)
        rv.start()
        rv.new_library("Rock")
        rv.menu("Tools", "MP3 Player")
        pid = j.desktop.wait_window(PLAYER)
        box = j.desktop.geometry(pid)

    def press(button):
        j.desktop.click(box[0] + PLAYER_BUTTONS[button], box[1] + PLAYER_BUTTON_Y)

    def elapsed():
        region = (box[0] + 480, box[1] + 18, 64, 34)
        text = j.desktop.text(region, invert=True, psm=7).replace(" ", "")
        return text

    with j.step("Add file(s): two files become rows"):
        press("Add file(s)")
        wid, _ = rv.dialog()
        time.sleep(0.4)
        j.desktop.key("ctrl+a")
        j.desktop.type(songs)
        j.desktop.key("Return", pause=0.8)
        j.desktop.key("ctrl+a")
        j.desktop.type('"01 First.mp3" "02 Second.mp3"')
        j.desktop.key("Return", pause=0.8)
        rv.gone(wid)
        j.desktop.wait_text("Second", box, invert=True)
        j.desktop.wait_text("2 files", box, part=True)
    with j.step("Play: the elapsed time runs"):
        press("Play")
        j.desktop.wait(lambda: elapsed() not in ("0:00", "00:00", ""), 10,
                       "the time stays at %r" % elapsed())
        j.desktop.wait_text("MPEG 1 Layer III", box, part=True)
    with j.step("Pause: the time stands still"):
        press("Pause")
        first = elapsed()
        time.sleep(2.0)
        check(elapsed() == first, "the time went on from %r to %r" % (first, elapsed()))
    with j.step("the position bar dragged to the middle: playing goes on from there"):
        start = (box[0] + 29, box[1] + 37)
        j.desktop.drag(start, (box[0] + 250, box[1] + 37))
        press("Play")
        j.desktop.wait(lambda: elapsed()[-2:].isdigit() and int(elapsed()[-2:]) >= 8, 10,
                       "the time after the seek is %r" % elapsed())
    with j.step("Next: the second row plays from its start"):
        press("Next")
        j.desktop.wait(lambda: elapsed()[-2:].isdigit() and int(elapsed()[-2:]) < 5, 10,
                       "the time after Next is %r" % elapsed())
    with j.step("Add to Media Library: the file becomes a track of the library"):
        press("Add to Media Library")
        rv.focus()
        rv.wait_counts((1, 1, 1))
        expect_listed("Player Artist", rv.tree_lines(), "the tree")


def hostile_inputs(j):
    rv = Reelvault(j)
    album = j.path("Album")
    broken = j.path("broken.rvl")
    damaged = j.path("Damaged")
    with j.step("a library to keep"):
        media.sample_album(album, "Kept Artist", "Kept Album", ["Safe"])
        with open(broken, "w") as f:
            f.write('<?xml version="1.0"?>\n<Lorvix_Media_Library version="1.0">\n<ARTIST><Na')
        media.damaged(damaged)
        rv.start_with_scan("Kept", album, (1, 1, 1))
    with j.step("Open a damaged library file: a clear error, the library kept"):
        rv.menu("File", "Open...")
        rv.file_dialog(broken)
        rv.answer("No", text="Save changes?")
        wid, _ = rv.dialog("Error")
        j.desktop.wait_text("is not a library file", j.desktop.geometry(wid), part=True)
        j.desktop.key("Return")
        rv.gone(wid)
        check(rv.caption() == "Lorvix Reelvault - [Kept]", "caption %r" % rv.caption())
        rv.wait_counts((1, 1, 1))
    with j.step("scan damaged audio files and a link loop: nothing filed, no crash"):
        rv.scan(damaged)
        check(j.program.running(), "the program ended")
        rv.wait_counts((1, 1, 1))
    with j.step("a CDDB server that never answers: the look-up shows its progress window"):
        wid = set_site(rv, j, fake_site(j, "/silent/cddb.cgi", "Mute"))
        j.desktop.key("Return")
        rv.gone(wid)
        rv.menu("File", "Scan...")
        wid, _ = rv.dialog("Select directory")
        j.desktop.click_text("Audio CD (/dev/sr0)", j.desktop.geometry(wid))
        j.desktop.wait(rv.progress, 10, "no progress window")
        j.desktop.wait_text("Querying CDDB", None, part=True)
    with j.step("the progress window asks for a title without buttons: moved, not closed"):
        # Openbox draws its buttons whatever a window asks; others leave out what is not allowed.
        hints = j.desktop.motif_hints(rv.progress())
        functions = hints[1] if hints and hints[0] & 1 else 1  # 1: every function
        move, close_minimize_maximize = 4, 32 | 8 | 16
        check(functions & move and not functions & (1 | close_minimize_maximize),
              "the Motif hints are %r" % hints)
    with j.step("Scan a folder meanwhile: a box says a CD is being looked up"):
        rv.scan(album, wait=False)
        wid, _ = rv.dialog("Information")
        j.desktop.wait_text("being looked up", j.desktop.geometry(wid), part=True)
    with j.step("OK: the look-up goes on, nothing was scanned"):
        rv.answer("OK", title="Information")
        j.desktop.wait_text("Querying CDDB", None, part=True)
        rv.wait_counts((1, 1, 1))
    with j.step("Open meanwhile: a box says the disc goes into the library that is open"):
        rv.menu("File", "Open...")
        wid, _ = rv.dialog("Information")
        j.desktop.wait_text("library that is open", j.desktop.geometry(wid), part=True)
    with j.step("OK: no file asked for, the library and the look-up go on"):
        # Quick looks only: the look-up times out on its own meanwhile.
        rv.answer("OK", title="Information")
        check(rv.progress(), "the look-up's progress window went")
        check(not j.desktop.windows("^Open"), "a file was asked for")
        check(rv.caption() == "Lorvix Reelvault - [Kept]", "caption %r" % rv.caption())
    with j.step("the look-up times out: its progress window closes, a box says why"):
        j.desktop.wait(lambda: not rv.progress(), 75, "the progress window stayed open")
        rv.answer("OK", title="Error", text="timed out")
        check(j.program.running(), "the program ended")
        rv.wait_counts((1, 1, 1))


ALL = {
    "fresh-start": fresh_start,
    "scan-every-format": scan_every_format,
    "stop-long-scan": stop_long_scan,
    "save-quit-reopen": save_quit_reopen,
    "append-edit-delete-sort": append_edit_delete_sort,
    "detail-presentation": detail_presentation,
    "audio-cd": audio_cd,
    "preferences-kept": preferences_kept,
    "player": player,
    "hostile-inputs": hostile_inputs,
}
