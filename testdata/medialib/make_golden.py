#!/usr/bin/python3
"""Writes the expected library file and presentations of the two-artist test library.

Every line is spelled out here as the file format has it: declaration, CR LF before each
element, one TAB per depth, empty-element tags for empty values, windows-1250 bytes, character
references for what windows-1250 lacks, no line end after the root's end tag.
"""
import pathlib

HERE = pathlib.Path(__file__).parent


def write(name, lines):
    text = '<?xml version="1.0" encoding="windows-1250"?>' + "".join(
        "\r\n" + line for line in lines)
    (HERE / name).write_bytes(text.encode("windows-1250"))


def track(values):
    return ["\t\t\t<TRACK>"] + ["\t\t\t\t" + v for v in values] + ["\t\t\t</TRACK>"]


DVORAK = "<Name>Dvořák &amp; &quot;Friends&quot;</Name>"
LARGO = "<TITLE>Largo – &#x416;&#x438;&#x437;&#x43D;&#x44C;</TITLE>"

write("library.rvl", [
    '<Lorvix_Media_Library version="1.0">',
    "\t<LIBRARY_NAME>Rock &amp; Roll</LIBRARY_NAME>",
    "\t<ARTIST_COUNT>2</ARTIST_COUNT>",
    "\t<ALBUM_COUNT>3</ALBUM_COUNT>",
    "\t<TRACK_COUNT>4</TRACK_COUNT>",
    "\t<ARTIST>",
    "\t\t" + DVORAK,
    "\t\t<ALBUM>",
    "\t\t\t<TITLE>Symfonie č. 9</TITLE>",
    "\t\t\t<RELEASE>1893</RELEASE>",
    "\t\t\t<GENRE/>",
    "\t\t\t<MEDIA_TYPE>0</MEDIA_TYPE>",
    "\t\t\t<TIME>725.25</TIME>",
    *track(["<ID>1</ID>", LARGO, "<DURATION>725.25</DURATION>", "<BITRATE>0</BITRATE>",
            "<CHANNEL_MODE>Stereo</CHANNEL_MODE>", "<FORMAT>CD Audio</FORMAT>"]),
    "\t\t</ALBUM>",
    "\t</ARTIST>",
    "\t<ARTIST>",
    "\t\t<Name>ABBA</Name>",
    "\t\t<ALBUM>",
    "\t\t\t<TITLE>Arrival</TITLE>",
    "\t\t\t<RELEASE>1976</RELEASE>",
    "\t\t\t<GENRE>Pop</GENRE>",
    "\t\t\t<MEDIA_TYPE>1</MEDIA_TYPE>",
    "\t\t\t<TIME>425.5</TIME>",
    *track(["<ID>2</ID>", "<TITLE>Dancing Queen</TITLE>", "<DURATION>245.5</DURATION>",
            "<BITRATE>192</BITRATE>", "<CHANNEL_MODE>Joint Stereo</CHANNEL_MODE>",
            "<FORMAT>MPEG 1 Layer III</FORMAT>"]),
    *track(["<ID>1</ID>", "<TITLE>When I Kissed the Teacher</TITLE>",
            "<DURATION>180</DURATION>", "<BITRATE>192</BITRATE>",
            "<CHANNEL_MODE>Joint Stereo</CHANNEL_MODE>", "<FORMAT>MPEG 1 Layer III</FORMAT>"]),
    "\t\t</ALBUM>",
    "\t\t<ALBUM>",
    "\t\t\t<TITLE>Waterloo</TITLE>",
    "\t\t\t<RELEASE>1974</RELEASE>",
    "\t\t\t<GENRE>Pop</GENRE>",
    "\t\t\t<MEDIA_TYPE>1</MEDIA_TYPE>",
    "\t\t\t<TIME>168.75</TIME>",
    *track(["<ID>1</ID>", "<TITLE>Waterloo</TITLE>", "<DURATION>168.75</DURATION>",
            "<BITRATE>160</BITRATE>", "<CHANNEL_MODE>Stereo</CHANNEL_MODE>",
            "<FORMAT>MPEG 1 Layer III</FORMAT>"]),
    "\t\t</ALBUM>",
    "\t</ARTIST>",
    "</Lorvix_Media_Library>",
])


def presentation(name, detail):
    def album(values, tracks):
        lines = ["\t\t<ALBUM>"] + ["\t\t\t" + v for v in values]
        if detail:
            for t in tracks:
                lines += track(t)
        return lines + ["\t\t</ALBUM>"]

    write(name, [
        '<Lorvix_Media_Library version="1.0">',
        "\t<LIBRARY_NAME>Rock &amp; Roll</LIBRARY_NAME>",
        "\t<TIMESTAMP>04/05/03</TIMESTAMP>",  # 5 April 2003 in the C locale
        "\t<ARTIST_COUNT>2</ARTIST_COUNT>",
        "\t<ALBUM_COUNT>3</ALBUM_COUNT>",
        *(["\t<TRACK_COUNT>4</TRACK_COUNT>"] if detail else []),
        # Artists by name, albums by release; tracks as filed.
        "\t<ARTIST>",
        "\t\t<Name>ABBA</Name>",
        *album(["<TITLE>Waterloo</TITLE>", "<RELEASE>1974</RELEASE>", "<GENRE>Pop</GENRE>",
                "<MEDIA_TYPE>Audio Files</MEDIA_TYPE>", "<TIME>02:49</TIME>"],
               [["<ID>1</ID>", "<TITLE>Waterloo</TITLE>", "<DURATION>02:49</DURATION>",
                 "<BITRATE>160</BITRATE>", "<CHANNEL_MODE>Stereo</CHANNEL_MODE>",
                 "<FORMAT>MPEG 1 Layer III</FORMAT>"]]),
        *album(["<TITLE>Arrival</TITLE>", "<RELEASE>1976</RELEASE>", "<GENRE>Pop</GENRE>",
                "<MEDIA_TYPE>Audio Files</MEDIA_TYPE>", "<TIME>07:06</TIME>"],
               [["<ID>2</ID>", "<TITLE>Dancing Queen</TITLE>", "<DURATION>04:06</DURATION>",
                 "<BITRATE>192</BITRATE>", "<CHANNEL_MODE>Joint Stereo</CHANNEL_MODE>",
                 "<FORMAT>MPEG 1 Layer III</FORMAT>"],
                ["<ID>1</ID>", "<TITLE>When I Kissed the Teacher</TITLE>",
                 "<DURATION>03:00</DURATION>", "<BITRATE>192</BITRATE>",
                 "<CHANNEL_MODE>Joint Stereo</CHANNEL_MODE>",
                 "<FORMAT>MPEG 1 Layer III</FORMAT>"]]),
        "\t</ARTIST>",
        "\t<ARTIST>",
        "\t\t" + DVORAK,
        *album(["<TITLE>Symfonie č. 9</TITLE>", "<RELEASE>1893</RELEASE>", "<GENRE/>",
                "<MEDIA_TYPE>Audio CD</MEDIA_TYPE>", "<TIME>12:05</TIME>"],
               [["<ID>1</ID>", LARGO, "<DURATION>12:05</DURATION>", "<BITRATE>0</BITRATE>",
                 "<CHANNEL_MODE>Stereo</CHANNEL_MODE>", "<FORMAT>CD Audio</FORMAT>"]]),
        "\t</ARTIST>",
        "</Lorvix_Media_Library>",
    ])


presentation("brief.xml", False)
presentation("detail.xml", True)
