"""Reference values of the byte-built TwinVQ files from ffprobe and mediainfo: stream values
and the texts of the NAME, AUTH, (c) and COMT chunks."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

import json  # noqa: E402
import subprocess  # noqa: E402


def general(path):
    out = subprocess.run(["mediainfo", "--Output=JSON", path], capture_output=True, text=True,
                         check=True)
    tracks = json.loads(out.stdout)["media"]["track"]
    return next((t for t in tracks if t.get("@type") == "General"), {})


def stream(path):
    data = ffprobe(path)
    audio = next(s for s in data["streams"] if s["codec_type"] == "audio")
    emit(path, "codec", audio["codec_name"], "ffprobe")
    emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
    emit(path, "channels", audio["channels"], "ffprobe")
    emit(path, "bitrate_kbps", int(audio["bit_rate"]) // 1000, "ffprobe")
    emit(path, "duration", audio["duration"], "ffprobe")
    for key, value in data["format"].get("tags", {}).items():
        if "\ufffd" not in value:  # ffprobe passes windows-1252 text on undecoded
            emit(path, f"tag.{key.lower()}", value, "ffprobe")
    track = mediainfo(path)
    emit(path, "format", track.get("Format"), "mediainfo")
    emit(path, "sample_rate", track.get("SamplingRate"), "mediainfo")
    emit(path, "channels", track.get("Channels"), "mediainfo")
    emit(path, "bitrate_kbps", int(track["BitRate"]) // 1000, "mediainfo")
    emit(path, "duration", track.get("Duration"), "mediainfo")
    info = general(path)
    for key in ("Title", "Performer", "Copyright", "Comment"):
        emit(path, f"tag.{key.lower()}", info.get(key), "mediainfo")


header()
for name in sys.argv[1:]:
    stream(name)
