"""Audio files for the journeys, made on the spot with Debian's encoders, and the committed test
files of the formats that no Debian tool encodes."""

import math
import os
import shutil
import struct
import subprocess
import wave

from journey import ROOT

TESTDATA = os.path.join(ROOT, "testdata", "audio")

ARTIST = "Journey Band"
ALBUM = "Every Format"

# (file, title, track, the format text and channel mode the track list is to show, the tool).
# Every file is 2 seconds of a tone, tagged with ARTIST and ALBUM.
MADE = [
    ("01.mp3", "Lame Song", 1, "MPEG 1 Layer III", "Joint Stereo", "lame"),
    ("02.ogg", "Vorbis Song", 2, "Ogg Vorbis", "Stereo", "oggenc"),
    ("03.flac", "Flac Song", 3, "FLAC (16 bit)", "Stereo", "flac"),
    ("04.wma", "Wma Song", 4, "Windows Media Audio", "Stereo", "ffmpeg"),
    ("05.mp2", "Layer Two Song", 5, "MPEG 1 Layer II", "Stereo", "id3v2"),
]
# One committed file of each format that only the tests' own scripts build; no two share a title
# within an album, which would file them as one track.
COPIED = [
    ("musepack", "sv7_32k_stereo.mpc"),
    ("monkey", "v3980_mono24_48k.ape"),
    ("optimfrog", "float_stereo_id3.ofr"),
    ("twinvq", "stereo_44k_96.vqf"),
    ("wavpack", "pcm_stereo.wv"),
    ("aac", "mpeg4_lc_stereo.aac"),
]


def tone(path, seconds=2.0, rate=44100, channels=2):
    frames = int(seconds * rate)
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(
            struct.pack("<h", int(8000 * math.sin(2 * math.pi * 440 * i / rate))) * channels
            for i in range(frames)))


def _run(*argv):
    subprocess.run(argv, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   stdin=subprocess.DEVNULL)


def make_one(folder, name, title, track, wav, artist=ARTIST, album=ALBUM, year=2024):
    out = os.path.join(folder, name)
    ext = os.path.splitext(name)[1]
    if ext == ".mp3":
        _run("lame", "--quiet", "-b", "128", "-m", "j", "--tt", title, "--ta", artist, "--tl",
             album, "--tn", str(track), "--ty", str(year), "--id3v2-only", wav, out)
    elif ext == ".ogg":
        _run("oggenc", "-Q", "-q", "1", "-t", title, "-a", artist, "-l", album, "-N", str(track),
             "-d", str(year), "-o", out, wav)
    elif ext == ".flac":
        _run("flac", "-s", "-f", "-T", "TITLE=" + title, "-T", "ARTIST=" + artist, "-T",
             "ALBUM=" + album, "-T", "TRACKNUMBER=%d" % track, "-T", "YEAR=%d" % year, "-o",
             out, wav)
    elif ext == ".wma":
        _run("ffmpeg", "-nostdin", "-v", "error", "-y", "-i", wav, "-c:a", "wmav2", "-b:a", "64k",
             "-metadata", "title=" + title, "-metadata", "artist=" + artist, "-metadata",
             "album=" + album, "-metadata", "track=%d" % track, "-metadata", "date=%d" % year, out)
    elif ext == ".mp2":
        # ffmpeg writes MPEG audio Layer II without a tag; id3v2 adds one.
        _run("ffmpeg", "-nostdin", "-v", "error", "-y", "-i", wav, "-c:a", "mp2", "-b:a", "192k",
             out)
        _run("id3v2", "-2", "-t", title, "-a", artist, "-A", album, "-T", str(track), "-y",
             str(year), out)
    else:
        raise ValueError(name)
    return out


def every_format(folder):
    """A folder with a file of every format the scan takes; returns the made files' rows."""
    os.makedirs(folder, exist_ok=True)
    wav = os.path.join(folder, ".tone.wav")
    tone(wav)
    made = []
    for name, title, track, fmt, mode, tool in MADE:
        if shutil.which(tool) is None:
            continue
        make_one(folder, name, title, track, wav)
        made.append((name, title, track, fmt, mode))
    os.remove(wav)
    for group, name in COPIED:
        shutil.copy(os.path.join(TESTDATA, group, name), folder)
    return made


def sample_album(folder, artist, album, titles, seconds=3.0):
    """A small album of MP3 files made on the spot; returns the files."""
    os.makedirs(folder, exist_ok=True)
    wav = os.path.join(folder, ".tone.wav")
    tone(wav, seconds)
    files = [make_one(folder, "%02d %s.mp3" % (i + 1, t), t, i + 1, wav, artist, album)
             for i, t in enumerate(titles)]
    os.remove(wav)
    return files


def untagged(path, seconds=0.3):
    """An MP3 without tags: its tracks are named after their files."""
    wav = path + ".wav"
    tone(wav, seconds)
    _run("lame", "--quiet", "-b", "32", wav, path)
    os.remove(wav)
    return path


def many_files(folder, count, source):
    """A long folder tree for a scan to stop: `count` links to one small untagged file, each
    its own track."""
    for i in range(count):
        sub = os.path.join(folder, "disc%04d" % (i // 100))
        os.makedirs(sub, exist_ok=True)
        if i % 60000 == 0:  # a file takes only so many links
            seed = os.path.join(folder, ".seed%d" % i)
            shutil.copy(source, seed)
        os.link(seed, os.path.join(sub, "track%06d.mp3" % i))


def damaged(folder):
    """Files with audio names that hold no audio, cut-off files and a link loop."""
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "noise.mp3"), "wb") as f:
        f.write(os.urandom(4096))
    with open(os.path.join(folder, "empty.flac"), "wb"):
        pass
    with open(os.path.join(folder, "text.ogg"), "w") as f:
        f.write("not an ogg stream\n" * 50)
    with open(os.path.join(folder, "header_only.wma"), "wb") as f:
        f.write(bytes.fromhex("3026b2758e66cf11a6d900aa0062ce6c") + b"\xff" * 64)
    good = os.path.join(TESTDATA, "mpeg", "lame_cbr128_mono48.mp3")
    with open(good, "rb") as f:
        head = f.read(600)
    with open(os.path.join(folder, "cut.mp3"), "wb") as f:
        f.write(head[:300])
    loop = os.path.join(folder, "loop")
    os.makedirs(loop, exist_ok=True)
    os.symlink("..", os.path.join(loop, "up"))
    os.symlink("missing-target.mp3", os.path.join(folder, "dangling.mp3"))
