#!/usr/bin/python3
"""Writes the seed streams of fuzz_tree_stream, built from the format's definition."""
import os
import struct

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")


def header(version):
    return struct.pack("<6H", 0x2045, 0x0056, 0x0054, version, 0x0020, 0x2046)


def chunk(kind, data):
    return struct.pack("<iI", kind, len(data)) + data


def base(children, height, states, check_state=0, check_type=0):
    return struct.pack("<IIHBBBI", children, height, states, 50, check_state, check_type, 0)


def node(data, children=b"", more=b""):
    return chunk(1, chunk(2, data + children) + more)


def caption(text):
    return chunk(3, text.encode("utf-16-le"))


def user(value):
    return chunk(4, struct.pack("<i", value))


def main():
    os.makedirs(HERE, exist_ok=True)
    leaf = node(base(0, 18, 0x81), more=user(3) + caption("leaf"))
    branch = node(base(2, 24, 0xE1, 2, 1), leaf + leaf, user(2) + caption("Zlatá"))
    hidden = node(base(0, 18, 0x101), more=chunk(9, b"skipped"))
    seeds = {
        "v2.bin": header(2) + struct.pack("<I", 3) + branch + hidden + leaf,
        "v1.bin": header(1) + chunk(1, chunk(2, struct.pack("<IIBBBB", 0, 18, 0x81, 50, 2, 2))),
        "empty.bin": header(2) + struct.pack("<I", 0),
    }
    deep = node(base(0, 18, 0x81))
    for _ in range(40):
        deep = node(base(1, 18, 0xE1), deep, caption("d"))
    seeds["deep.bin"] = header(2) + struct.pack("<I", 1) + deep
    for name, data in seeds.items():
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
