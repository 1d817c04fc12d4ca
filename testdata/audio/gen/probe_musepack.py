"""Reference values of the byte-built Musepack files: stream values from mutagen (versions 4
to 7), ffprobe and mediainfo (version 7 only); tags from mutagen."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402
from probe_tags import tags  # noqa: E402

import mutagen.musepack  # noqa: E402


def stream(path):
    info = mutagen.musepack.Musepack(path).info
    emit(path, "version", info.version, "mutagen")
    emit(path, "sample_rate", info.sample_rate, "mutagen")
    emit(path, "duration", f"{info.length:.6f}", "mutagen")
    # Versions 4 and 5 store their rate in kbit/s, which mutagen passes on as it stands.
    emit(path, "bitrate_kbps", info.bitrate if info.version < 6 else info.bitrate // 1000,
         "mutagen")
    try:
        data = ffprobe(path)
    except Exception:
        data = None
    if data:
        audio = next(s for s in data["streams"] if s["codec_type"] == "audio")
        emit(path, "codec", audio["codec_name"], "ffprobe")
        emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
        emit(path, "duration", audio["duration"], "ffprobe")
        emit(path, "file_bitrate_bps", data["format"].get("bit_rate"), "ffprobe")
    track = mediainfo(path)
    emit(path, "format", track.get("Format"), "mediainfo")
    emit(path, "sample_rate", track.get("SamplingRate"), "mediainfo")
    emit(path, "duration", track.get("Duration"), "mediainfo")


header()
for name in sys.argv[1:]:
    stream(name)
    tags(name)
