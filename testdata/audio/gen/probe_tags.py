"""Shared by the probers of the byte-built formats: the ID3v1, ID3v2 and APE fields mutagen
reads, as manifest lines (keys id3v1.*, id3v2.*, ape.*)."""

import mutagen.apev2
import mutagen.id3

from probe_common import emit

ID3V2_FIELDS = {"title": "TIT2", "artist": "TPE1", "album": "TALB", "track": "TRCK"}
APE_FIELDS = ["Title", "Artist", "Album", "Track", "Year", "Genre"]


def tags(path):
    with open(path, "rb") as f:
        f.seek(0, 2)
        size = f.tell()
        f.seek(max(0, size - 128))
        block = f.read(128)
    if block.startswith(b"TAG"):
        frames = mutagen.id3.ParseID3v1(block)
        emit(path, "id3v1.exists", "1", "mutagen")
        emit(path, "id3v1.title", str(frames.get("TIT2", "")), "mutagen")
        emit(path, "id3v1.artist", str(frames.get("TPE1", "")), "mutagen")
    try:
        id3 = mutagen.id3.ID3(path, translate=False, load_v1=False)
        emit(path, "id3v2.size", id3.size, "mutagen")
        for name, frame_id in ID3V2_FIELDS.items():
            if frame_id in id3:
                emit(path, f"id3v2.{name}", str(id3[frame_id]), "mutagen")
    except mutagen.id3.ID3NoHeaderError:
        pass
    try:
        ape = mutagen.apev2.APEv2(path)
        emit(path, "ape.exists", "1", "mutagen")
        for key in APE_FIELDS:
            if key in ape:
                emit(path, f"ape.{key.lower()}", str(ape[key]), "mutagen")
    except mutagen.apev2.APENoHeaderError:
        pass
