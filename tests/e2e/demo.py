"""A short demonstration through the journeys' runner, for a machine without a display: a
sample folder of real audio files made on the spot is scanned into a new library, the library is
saved and opened again, and a detail presentation is exported."""

import os

import media
from journey import check
from reelvault import Reelvault


def demonstration(j):
    rv = Reelvault(j)
    samples = j.path("Sample Music")
    library = os.path.join(j.out, "Demo.rvl")
    page = os.path.join(j.out, "Demo_Detail.xml")
    with j.step("make a sample folder of real audio files"):
        made = media.every_format(samples)
        media.sample_album(os.path.join(samples, "Quartet"), "Demo Quartet", "First Light",
                           ["Dawn", "Noon", "Dusk"])
        check(made, "no encoder made a file")
    with j.step("start the program and make the library Demo"):
        rv.start()
        rv.new_library("Demo")
    with j.step("scan the sample folder"):
        rv.scan(samples)
        rv.click_in_tree("Demo Quartet", double=True)
        j.desktop.key("Down")
        j.desktop.wait_text("Dusk", rv.region("right"), invert=True)
    with j.step("save the library as Demo.rvl"):
        rv.save_as(library)
    with j.step("open it again"):
        rv.menu("File", "Open...")
        rv.file_dialog(library)
        check(rv.caption() == "Lorvix Reelvault - [Demo]", "caption %r" % rv.caption())
        rv.counts()
    with j.step("export the detail presentation"):
        rv.menu("File", "Save to Presentation", "Detail...")
        rv.file_dialog(page)
        rv.answer("No", text="Show presentation?")
        check(os.path.exists(page[:-4] + ".htm"), "no page was written")
    j.results = {"screenshots": j.out, "library": library, "page": page[:-4] + ".htm"}
