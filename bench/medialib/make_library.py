#!/usr/bin/python3
"""Writes a library file of many tracks as another program would: built with ElementTree,
UTF-8, indented by two blanks, LF line ends. Like a library kept by hand or by other tools, it
repeats artist names (one ARTIST entry per import, letter case varying), holds one large
"Various Artists" entry, multi-disc albums whose track numbers start again, and unknown years.

Usage: make_library.py OUTPUT [TRACKS] [SEED]
"""
import random
import sys
import xml.etree.ElementTree as ET

WORDS = ["Dvořák", "Symfonie", "Nového", "světa", "Smetana", "Má", "vlast", "Live", "Opera",
         "Rock & Roll", '"Best"', "Blues", "Night", "Arrival", "Zlatá", "Praha", "Kino",
         "<Queen>", "Žluťoučký", "kůň"]


def words(rng, count):
    return " ".join(rng.choice(WORDS) for _ in range(count))


def value(parent, name, text):
    ET.SubElement(parent, name).text = str(text)


def main():
    out = sys.argv[1]
    tracks_wanted = int(sys.argv[2]) if len(sys.argv) > 2 else 100000
    rng = random.Random(int(sys.argv[3]) if len(sys.argv) > 3 else 7)
    names = [words(rng, 2) + " " + str(k) for k in range(1500)]

    root = ET.Element("Lorvix_Media_Library", version="1.0")
    value(root, "LIBRARY_NAME", "Sbírka & co")
    header = [ET.SubElement(root, n) for n in ("ARTIST_COUNT", "ALBUM_COUNT", "TRACK_COUNT")]
    various = None
    artists = albums = tracks = 0
    while tracks < tracks_wanted:
        if rng.random() < 0.05:  # compilations all go to one artist entry
            if various is None:
                various = ET.SubElement(root, "ARTIST")
                value(various, "Name", "Various Artists")
                artists += 1
            artist = various
        else:
            name = names[min(int(rng.paretovariate(1.0)) - 1, len(names) - 1)
                         if rng.random() < 0.3 else rng.randrange(len(names))]
            if rng.random() < 0.2:
                name = name.upper()
            artist = ET.SubElement(root, "ARTIST")
            value(artist, "Name", name)
            artists += 1
        for _ in range(rng.randint(1, 3)):
            if tracks == tracks_wanted:
                break
            album = ET.SubElement(artist, "ALBUM")
            value(album, "TITLE", words(rng, 3))
            value(album, "RELEASE", 0 if rng.random() < 0.1 else rng.randint(1950, 2020))
            value(album, "GENRE", rng.choice(["Rock", "Pop", "Classical", ""]))
            value(album, "MEDIA_TYPE", rng.randint(0, 1))
            time = ET.SubElement(album, "TIME")
            discs, total = rng.choice([1, 1, 1, 2, 3]), 0.0
            for disc in range(discs):
                for number in range(1, rng.randint(6, 14) + 1):
                    if tracks == tracks_wanted:
                        break
                    track = ET.SubElement(album, "TRACK")
                    duration = rng.randint(60000, 600000) / 1000
                    total += duration
                    value(track, "ID", 0 if rng.random() < 0.02 else number)
                    value(track, "TITLE", words(rng, 4) + " " + str(tracks))
                    value(track, "DURATION", duration)
                    value(track, "BITRATE", rng.choice([0, 128, 192, 256, 320]))
                    value(track, "CHANNEL_MODE", rng.choice(["Stereo", "Joint Stereo"]))
                    value(track, "FORMAT", "MPEG 1 Layer III")
                    tracks += 1
            time.text = repr(round(total, 3))
            albums += 1
    for element, count in zip(header, (artists, albums, tracks)):
        element.text = str(count)
    tree = ET.ElementTree(root)
    ET.indent(tree, space="  ")
    tree.write(out, encoding="UTF-8", xml_declaration=True)
    print(tracks)


if __name__ == "__main__":
    main()
