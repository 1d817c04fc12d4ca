#!/usr/bin/python3
"""Writes the seeds of fuzz_text: text in every form the conversions meet, good and bad."""
import os

SEEDS = os.path.join(os.path.dirname(os.path.abspath(__file__)), "seeds")

SEEDS_BY_NAME = {
    # Every byte once: each code page's whole table, and UTF-8 lead bytes without a sequence.
    "every_byte.bin": bytes(range(256)),
    # One to four bytes a character, U+FFFD itself, and characters beyond the 16-bit plane that
    # UTF-16 writes as surrogate pairs.
    "utf8_mixed.txt": "Café Ελληνικά 日本語 Žluťoučký kůň \ufffd 𝄞 😀 \U0010ffff end\n".encode(),
    # Malformed UTF-8: overlong forms, surrogates, past U+10FFFF, stray continuation bytes,
    # sequences cut short (also at the very end), and bytes that never start one.
    "utf8_broken.bin": b"a\xc0\x80b\xc1\xbfc\xe0\x80\x80d\xe0\x9f\xbfe\xed\xa0\x80f\xed\xbf\xbf"
                       b"g\xf0\x80\x80\x80h\xf4\x90\x80\x80i\xf5\x80\x80\x80j\x80\xbfk\xc3l"
                       b"\xe2\x82m\xf0\x9f\x98n\xfe\xff\xef\xbf\xbd\xf0\x9f\x98",
    # Longer than the catalogue's 255 characters, with the cut falling inside a character, and
    # control characters the cut text blanks.
    "long_text.txt": ("\t\x01\x1f" + "ž" * 254 + "𝄞" * 4 + "\r\n").encode(),
    # Characters of the Central and Western European code pages, written in windows-1250.
    "windows1250.bin": "Příliš žluťoučký kůň úpěl ďábelské ódy — „ŠŤŽ“ € ‰".encode("cp1250"),
}


def main():
    os.makedirs(SEEDS, exist_ok=True)
    for name, data in SEEDS_BY_NAME.items():
        with open(os.path.join(SEEDS, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
