"""Reference values of the AAC files: frame-counted duration and average rate from faad,
header fields from ffprobe and mediainfo, and ID3v1, ID3v2 and APE tag fields from mutagen
(also used by the WavPack prober)."""

import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

import mutagen.apev2  # noqa: E402
import mutagen.id3  # noqa: E402


def faad(path):
    """faad -i walks every ADTS frame: "ADTS, 10.031 sec, 24 kbps, 16000 Hz". For ADIF it
    reports the header's rate; its duration there is not the size over that rate, so the
    duration of ADIF files comes from mediainfo."""
    out = subprocess.run(["faad", "-i", path], capture_output=True, text=True).stderr
    match = re.search(r"^(ADTS|ADIF), ([0-9.]+) sec, (\d+) kbps", out, re.MULTILINE)
    if not match:
        sys.exit(f"{path}: faad gave no stream line")
    emit(path, "header_type", match.group(1), "faad")
    if match.group(1) == "ADTS":
        emit(path, "duration", match.group(2), "faad")
    emit(path, "bitrate_kbps", match.group(3), "faad")


def stream(path):
    emit(path, "file_size", os.path.getsize(path), "stat")
    faad(path)
    track = mediainfo(path)
    emit(path, "mpeg_version", track.get("Format_Version"), "mediainfo")
    emit(path, "profile", track.get("Format_AdditionalFeatures"), "mediainfo")
    emit(path, "sample_rate", track.get("SamplingRate"), "mediainfo")
    emit(path, "channels", track.get("Channels"), "mediainfo")
    emit(path, "bitrate_mode", track.get("BitRate_Mode"), "mediainfo")
    if track.get("BitRate_Mode") == "CBR":
        emit(path, "duration", track.get("Duration"), "mediainfo")
    if open(path, "rb").read(4) == b"ADIF":
        return  # ffprobe does not read ADIF
    audio = next(s for s in ffprobe(path)["streams"] if s["codec_type"] == "audio")
    emit(path, "profile", audio.get("profile"), "ffprobe")
    emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
    emit(path, "channels", audio["channels"], "ffprobe")


def tags(path):
    with open(path, "rb") as f:
        f.seek(0, 2)
        if f.tell() >= 128:
            f.seek(-128, 2)
            block = f.read(128)
            if block.startswith(b"TAG"):
                emit(path, "id3v1.exists", "1", "mutagen")
                frames = mutagen.id3.ParseID3v1(block)
                for frame_id, name in {"TIT2": "title", "TPE1": "artist", "TALB": "album",
                                       "TRCK": "track"}.items():
                    if frame_id in frames:
                        emit(path, f"id3v1.{name}", str(frames[frame_id]), "mutagen")
    try:
        v2 = mutagen.id3.ID3(path, translate=False, load_v1=False)
        emit(path, "id3v2.size", v2.size, "mutagen")
        for frame_id, name in {"TIT2": "title", "TPE1": "artist", "TALB": "album",
                               "TRCK": "track"}.items():
            if frame_id in v2:
                emit(path, f"id3v2.{name}", str(v2[frame_id]), "mutagen")
    except mutagen.id3.ID3NoHeaderError:
        pass
    try:
        ape = mutagen.apev2.APEv2(path)
        emit(path, "ape.exists", "1", "mutagen")
        for key in ["Title", "Artist", "Album", "Track", "Year"]:
            if key in ape:
                emit(path, f"ape.{key.lower()}", str(ape[key]), "mutagen")
    except mutagen.apev2.APENoHeaderError:
        pass


if __name__ == "__main__":
    header(["faad"])
    for name in sys.argv[1:]:
        stream(name)
        tags(name)
