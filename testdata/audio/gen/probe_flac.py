"""Reference values of the FLAC files: STREAMINFO, the block layout and the Vorbis comment from
metaflac; stream properties from mutagen, ffprobe and mediainfo; ID3 tags from mutagen."""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402

import mutagen.flac  # noqa: E402
import mutagen.id3  # noqa: E402


def metaflac(path, *args):
    return subprocess.run(["metaflac", *args, path], capture_output=True, text=True,
                          check=True).stdout


def id3v2_size(path):
    try:
        return mutagen.id3.ID3(path).size
    except mutagen.id3.ID3NoHeaderError:
        return 0


def stream(path, bare):
    for what in ["channels", "sample-rate", "bps", "total-samples"]:
        emit(path, what.replace("-", "_"), metaflac(bare, f"--show-{what}").strip(), "metaflac")
    types = [line.split()[1] for line in metaflac(bare, "--list").splitlines()
             if line.startswith("  type:") and "(" in line and "Cover" not in line]
    emit(path, "block_types", ",".join(types), "metaflac")
    if "4" in types:
        emit(path, "vendor", metaflac(bare, "--show-vendor-tag").strip(), "metaflac")
        fields = metaflac(bare, "--export-tags-to=-").splitlines()
        emit(path, "field_count", len(fields), "metaflac")
        for i, field in enumerate(fields):
            emit(path, f"field.{i}", field, "metaflac")
    info = mutagen.flac.FLAC(path).info
    emit(path, "duration", f"{info.length:.6f}", "mutagen")
    emit(path, "bits", info.bits_per_sample, "mutagen")
    audio = next(s for s in ffprobe(path)["streams"] if s["codec_type"] == "audio")
    emit(path, "channels", audio["channels"], "ffprobe")
    emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
    emit(path, "duration", f"{float(audio['duration']):.6f}", "ffprobe")
    track = mediainfo(path)
    emit(path, "duration", track.get("Duration"), "mediainfo")
    emit(path, "bits", track.get("BitDepth"), "mediainfo")


def id3(path):
    try:
        tags = mutagen.id3.ID3(path, load_v1=False)
        emit(path, "id3v2.size", tags.size, "mutagen")
        emit(path, "id3v2.title", str(tags["TIT2"]), "mutagen")
    except mutagen.id3.ID3NoHeaderError:
        pass
    with open(path, "rb") as f:
        f.seek(-128, 2)
        block = f.read(128)
    if block.startswith(b"TAG"):
        frames = mutagen.id3.ParseID3v1(block)
        emit(path, "id3v1.title", str(frames["TIT2"]), "mutagen")
        if "TDRC" in frames:
            emit(path, "id3v1.year", str(frames["TDRC"]), "mutagen")


header(["flac"])
for name in sys.argv[1:]:
    # metaflac reads no stream behind an ID3v2 tag: it gets the bytes after the tag.
    with open(name, "rb") as f, tempfile.NamedTemporaryFile(suffix=".flac") as bare:
        f.seek(id3v2_size(name))
        bare.write(f.read())
        bare.flush()
        stream(name, bare.name)
    id3(name)
