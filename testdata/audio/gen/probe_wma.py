"""Reference values of the WMA files: stream properties from ffprobe and mediainfo, and the
ASF header's texts and rates from mutagen."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

import mutagen.asf  # noqa: E402

TEXTS = {"Title": "title", "Author": "artist", "WM/AlbumTitle": "album", "WM/Year": "year",
         "WM/Genre": "genre", "WM/TrackNumber": "track"}

header()
for path in sys.argv[1:]:
    emit(path, "file_size", os.path.getsize(path), "stat")
    audio = next(s for s in ffprobe(path)["streams"] if s["codec_type"] == "audio")
    emit(path, "codec", audio["codec_name"], "ffprobe")
    emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
    emit(path, "channels", audio["channels"], "ffprobe")
    emit(path, "duration", f"{float(audio['duration']):.4f}", "ffprobe")
    emit(path, "bitrate_kbps", int(audio["bit_rate"]) // 1000, "ffprobe")
    track = mediainfo(path)
    emit(path, "duration", track.get("Duration"), "mediainfo")
    asf = mutagen.asf.ASF(path)
    emit(path, "bitrate", asf.info.bitrate, "mutagen")
    emit(path, "channels", asf.info.channels, "mutagen")
    emit(path, "sample_rate", asf.info.sample_rate, "mutagen")
    emit(path, "duration", f"{asf.info.length:.4f}", "mutagen")
    for key, name in TEXTS.items():
        values = asf.tags.get(key)
        if values:
            emit(path, name, str(values[-1].value), "mutagen")
