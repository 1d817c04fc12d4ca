"""Reference values of the Ogg Vorbis files: stream properties from mutagen, ffprobe and
mediainfo; the comment fields from mutagen and vorbiscomment; a leading ID3v2 tag's size from
mutagen."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

import mutagen.id3  # noqa: E402
import mutagen.oggvorbis  # noqa: E402


def id3v2_size(path):
    try:
        return mutagen.id3.ID3(path).size
    except mutagen.id3.ID3NoHeaderError:
        return 0


def stream(path):
    # mutagen reads no stream behind an ID3v2 tag: it gets the bytes after the tag.
    skip = id3v2_size(path)
    with open(path, "rb") as f, tempfile.NamedTemporaryFile(suffix=".ogg") as bare:
        f.seek(skip)
        bare.write(f.read())
        bare.flush()
        ogg = mutagen.oggvorbis.OggVorbis(bare.name)
    info = ogg.info
    emit(path, "channels", info.channels, "mutagen")
    emit(path, "sample_rate", info.sample_rate, "mutagen")
    emit(path, "nominal_bitrate", info.bitrate, "mutagen")
    emit(path, "duration", f"{info.length:.6f}", "mutagen")
    # The last page's granule position: mutagen's length is that over the sample rate.
    emit(path, "samples", round(info.length * info.sample_rate), "mutagen")
    emit(path, "vendor", ogg.tags.vendor, "mutagen")
    for key in sorted(set(ogg.tags.keys())):
        if key.upper() != "METADATA_BLOCK_PICTURE":
            emit(path, f"tag.{key.upper()}", ogg.tags[key][-1], "mutagen")
    probed = ffprobe(path)
    audio = next(s for s in probed["streams"] if s["codec_type"] == "audio")
    emit(path, "channels", audio["channels"], "ffprobe")
    emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
    emit(path, "nominal_bitrate", audio.get("bit_rate"), "ffprobe")
    emit(path, "duration", f"{float(audio['duration']):.6f}", "ffprobe")
    # The whole file over the duration.
    emit(path, "file_bitrate_bps", probed["format"].get("bit_rate"), "ffprobe")
    track = mediainfo(path)
    emit(path, "channels", track.get("Channels"), "mediainfo")
    emit(path, "nominal_bitrate", track.get("BitRate_Nominal"), "mediainfo")
    emit(path, "duration", track.get("Duration"), "mediainfo")
    listed = subprocess.run(["vorbiscomment", "-l", "-R", path], capture_output=True, text=True)
    emit(path, "field_count", len(listed.stdout.splitlines()), "vorbiscomment")


header(["vorbis-tools"])
for name in sys.argv[1:]:
    stream(name)
    if id3v2_size(name):
        emit(name, "id3v2.size", id3v2_size(name), "mutagen")
