"""Reference values of the byte-built OptimFROG files: stream values and tags from mutagen
(the only one of the probes that reads the format, and only without an ID3v2 tag in front)."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, header  # noqa: E402
from probe_tags import tags  # noqa: E402

import mutagen.optimfrog  # noqa: E402


def stream(path):
    try:
        info = mutagen.optimfrog.OptimFROG(path).info
    except mutagen.optimfrog.OptimFROGHeaderError:
        return  # mutagen does not look past an ID3v2 tag
    emit(path, "sample_rate", info.sample_rate, "mutagen")
    emit(path, "channels", info.channels, "mutagen")
    emit(path, "bits", info.bits_per_sample, "mutagen")
    emit(path, "duration", f"{info.length:.6f}", "mutagen")


header()
for name in sys.argv[1:]:
    stream(name)
    tags(name)
