"""Reference values of the .wv files: stream properties from ffprobe and mediainfo, whether the
file begins with a RIFF header, and the tags from mutagen."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_aac import tags  # noqa: E402
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

header(["wavpack"])
for path in sys.argv[1:]:
    emit(path, "file_size", os.path.getsize(path), "stat")
    audio = next(s for s in ffprobe(path)["streams"] if s["codec_type"] == "audio")
    emit(path, "codec", audio["codec_name"], "ffprobe")
    emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
    emit(path, "channels", audio["channels"], "ffprobe")
    emit(path, "bits", audio.get("bits_per_sample") or audio.get("bits_per_raw_sample"),
         "ffprobe")
    emit(path, "duration", f"{float(audio['duration']):.4f}", "ffprobe")
    if "bit_rate" in audio:
        emit(path, "bitrate_kbps", f"{int(audio['bit_rate']) / 1000:.3f}", "ffprobe")
    track = mediainfo(path)
    emit(path, "format", track.get("Format"), "mediainfo")
    tags(path)
