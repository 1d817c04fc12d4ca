"""Shared by the makers of formats no Debian tool encodes: the stream header is built byte by
byte from the format's definition, followed by stand-in frame data (seeded noise, so the files
stay the same from run to run); tags are added by mutagen."""

import random
import struct

import mutagen.apev2
import mutagen.id3


def le16(v):
    return struct.pack("<H", v)


def le32(v):
    return struct.pack("<I", v)


def be32(v):
    return struct.pack(">I", v)


def noise(size, seed):
    rng = random.Random(seed)
    return bytes(rng.getrandbits(8) for _ in range(size))


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def add_id3(path, v1=False, **frames):
    """ID3v2.3 in front (and ID3v1 at the end when v1) with the given text frames, e.g.
    TIT2="Song"."""
    tags = mutagen.id3.ID3()
    for frame_id, text in frames.items():
        tags.add(getattr(mutagen.id3, frame_id)(encoding=3, text=text))
    tags.save(path, v1=2 if v1 else 0, v2_version=3)


def add_ape(path, **items):
    """An APEv2 tag at the end (before an ID3v1 block), e.g. Title="Song"."""
    tags = mutagen.apev2.APEv2()
    for key, value in items.items():
        tags[key] = value
    tags.save(path)
