"""Reference values of the MPEG audio files: stream properties from mutagen, ffprobe and
mediainfo (the channel mode from mediainfo, which reads it from the audio frames, where mutagen
takes the first frame's even when that holds a Xing or Info header; the audio frames counted by
ffprobe's demuxer); ID3v1, ID3v2 and APE tag fields from mutagen."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

import mutagen.apev2  # noqa: E402
import mutagen.id3  # noqa: E402
import mutagen.mp3  # noqa: E402

MODES = {0: "Stereo", 1: "Joint Stereo", 2: "Dual Channel", 3: "Mono"}
# mediainfo names joint stereo and dual channel; plain stereo and mono go by the channel count.
MEDIAINFO_MODES = {"Joint stereo": "Joint Stereo", "Dual mono": "Dual Channel"}
ID3V2_FIELDS = {"title": "TIT2", "artist": "TPE1", "album": "TALB", "track": "TRCK",
                "year": "TYER", "recording_time": "TDRC", "genre": "TCON", "composer": "TCOM",
                "encoder": "TENC", "copyright": "TCOP"}
APE_FIELDS = ["Title", "Artist", "Album", "Track", "Year", "Genre", "Comment", "Copyright"]


def stream(path):
    info = mutagen.mp3.MP3(path).info
    emit(path, "version", f"{info.version:g}", "mutagen")
    emit(path, "layer", info.layer, "mutagen")
    emit(path, "sample_rate", info.sample_rate, "mutagen")
    emit(path, "channel_mode", MODES[info.mode], "mutagen")
    emit(path, "bitrate_kbps", info.bitrate // 1000, "mutagen")
    emit(path, "bitrate_mode", str(info.bitrate_mode).split(".")[-1], "mutagen")
    emit(path, "duration", f"{info.length:.4f}", "mutagen")
    audio = next(s for s in ffprobe(path)["streams"] if s["codec_type"] == "audio")
    emit(path, "codec", audio["codec_name"], "ffprobe")
    emit(path, "duration", f"{float(audio['duration']):.4f}", "ffprobe")
    emit(path, "channels", audio["channels"], "ffprobe")
    emit(path, "bitrate_kbps", int(audio["bit_rate"]) // 1000, "ffprobe")
    # The audio frames as the demuxer counts them, a Xing or Info frame left out.
    counted = subprocess.run(["ffprobe", "-v", "error", "-count_packets", "-select_streams", "a",
                              "-show_entries", "stream=nb_read_packets", "-of", "csv=p=0", path],
                             capture_output=True, text=True, check=True)
    emit(path, "frames", int(counted.stdout.strip().strip(",")), "ffprobe")
    track = mediainfo(path)
    mode = MEDIAINFO_MODES.get(track.get("Format_Settings_Mode"))
    emit(path, "channel_mode", mode or {"1": "Mono", "2": "Stereo"}[track["Channels"]], "mediainfo")
    emit(path, "format_version", track.get("Format_Version"), "mediainfo")
    emit(path, "format_profile", track.get("Format_Profile"), "mediainfo")
    emit(path, "duration", track.get("Duration"), "mediainfo")
    emit(path, "bitrate_mode", track.get("BitRate_Mode"), "mediainfo")
    emit(path, "bitrate_kbps", int(track["BitRate"]) // 1000, "mediainfo")


def id3v1(path):
    with open(path, "rb") as f:
        f.seek(-128, 2)
        block = f.read(128)
    if not block.startswith(b"TAG"):
        return
    frames = mutagen.id3.ParseID3v1(block)
    emit(path, "id3v1.exists", "1", "mutagen")
    names = {"TIT2": "title", "TPE1": "artist", "TALB": "album", "TDRC": "year",
             "TRCK": "track", "TCON": "genre_id"}
    for frame_id, name in names.items():
        if frame_id in frames:
            emit(path, f"id3v1.{name}", str(frames[frame_id]), "mutagen")
    comment = [f for f in frames if f.startswith("COMM")]
    if comment:
        emit(path, "id3v1.comment", str(frames[comment[0]]), "mutagen")


def id3v2(path):
    try:
        tags = mutagen.id3.ID3(path, translate=False, load_v1=False)
    except mutagen.id3.ID3NoHeaderError:
        return
    emit(path, "id3v2.version", tags.version[1], "mutagen")
    emit(path, "id3v2.size", tags.size, "mutagen")
    for name, frame_id in ID3V2_FIELDS.items():
        if frame_id in tags:
            emit(path, f"id3v2.{name}", str(tags[frame_id]), "mutagen")
    if "TCON" in tags:
        emit(path, "id3v2.genre_name", tags["TCON"].genres[0], "mutagen")
    comments = tags.getall("COMM")
    if comments:
        emit(path, "id3v2.comment", str(comments[-1]), "mutagen")
    links = tags.getall("WXXX")
    if links:
        emit(path, "id3v2.link", links[-1].url, "mutagen")


def ape(path):
    try:
        tags = mutagen.apev2.APEv2(path)
    except mutagen.apev2.APENoHeaderError:
        return
    emit(path, "ape.exists", "1", "mutagen")
    for key in APE_FIELDS:
        if key in tags:
            emit(path, f"ape.{key.lower()}", str(tags[key]), "mutagen")


header(["lame", "twolame", "id3v2"])
for name in sys.argv[1:]:
    stream(name)
    id3v1(name)
    id3v2(name)
    ape(name)
