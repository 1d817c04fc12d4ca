"""Shared by the probers: reference values from independent tools, written as manifest lines
"file<TAB>key<TAB>value<TAB>tool". Values never hold tabs or line breaks."""

import json
import subprocess
import sys

PACKAGES = ["ffmpeg", "mediainfo", "python3-mutagen"]


def header(extra_packages=()):
    """The manifest's head: its format and the versions of the packages that made it."""
    print("# Reference values: file<TAB>key<TAB>value<TAB>tool. Made by generate.sh with:")
    for package in list(extra_packages) + PACKAGES:
        version = subprocess.run(["dpkg-query", "-W", "-f=${Version}", package],
                                 capture_output=True, text=True).stdout.strip()
        print(f"#   {package} {version or '(not installed)'}")


def emit(path, key, value, tool):
    if value is None:
        return
    text = str(value)
    if "\t" in text or "\n" in text:
        sys.exit(f"{path}: {key} holds a tab or a line break")
    print(f"{path}\t{key}\t{text}\t{tool}")


def ffprobe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-print_format", "json", "-show_format",
                          "-show_streams", path], capture_output=True, text=True, check=True)
    return json.loads(out.stdout)


def mediainfo(path):
    """The first audio track of mediainfo's JSON report."""
    out = subprocess.run(["mediainfo", "--Output=JSON", path], capture_output=True, text=True,
                         check=True)
    tracks = json.loads(out.stdout)["media"]["track"]
    return next((t for t in tracks if t.get("@type") == "Audio"), {})
