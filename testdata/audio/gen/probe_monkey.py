"""Reference values of the byte-built Monkey's Audio files: stream values from ffprobe
(versions 3800 and later), mediainfo and mutagen (mutagen neither skips an ID3v2 tag nor
reports the bits of old versions); tags from mutagen."""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from probe_common import emit, ffprobe, header, mediainfo  # noqa: E402
from probe_tags import tags  # noqa: E402

import mutagen.monkeysaudio  # noqa: E402


def stream(path):
    try:
        info = mutagen.monkeysaudio.MonkeysAudio(path).info
        emit(path, "version", f"{info.version:.2f}", "mutagen")
        emit(path, "sample_rate", info.sample_rate, "mutagen")
        emit(path, "channels", info.channels, "mutagen")
        if info.bits_per_sample:
            emit(path, "bits", info.bits_per_sample, "mutagen")
        emit(path, "duration", f"{info.length:.6f}", "mutagen")
    except mutagen.monkeysaudio.MonkeysAudioHeaderError:
        pass
    try:
        audio = next(s for s in ffprobe(path)["streams"] if s["codec_type"] == "audio")
        emit(path, "sample_rate", audio["sample_rate"], "ffprobe")
        emit(path, "channels", audio["channels"], "ffprobe")
        emit(path, "bits", audio.get("bits_per_raw_sample"), "ffprobe")
        emit(path, "duration", audio["duration"], "ffprobe")
    except Exception:
        pass
    track = mediainfo(path)
    emit(path, "version", track.get("Format_Version"), "mediainfo")
    emit(path, "sample_rate", track.get("SamplingRate"), "mediainfo")
    emit(path, "channels", track.get("Channels"), "mediainfo")
    emit(path, "bits", track.get("BitDepth"), "mediainfo")
    emit(path, "duration", track.get("Duration"), "mediainfo")


header()
for name in sys.argv[1:]:
    stream(name)
    tags(name)
