#!/usr/bin/env bash
# Makes the audio files the import tests read, with Debian's encoders and taggers, in the given
# folder: one sub-folder per group. A group whose tools are missing is left out and listed in
# skipped.tsv ("group<TAB>missing tools"), so that its tests can say why they skip.
#
#   bash make_test_media.sh OUT_DIR
#   bash make_test_media.sh --probe     prints what skipped.tsv would say, makes nothing
set -euo pipefail
probe=false
if [ "${1:-}" = --probe ]; then
    probe=true
    out=/dev/null
else
    out=$(cd "$1" && pwd)
    : > "$out/skipped.tsv"
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
export LC_ALL=C.UTF-8
py=/usr/bin/python3
have_mutagen=false
[ -x $py ] && $py -c 'import mutagen' 2>/dev/null && have_mutagen=true

# group NAME TOOL... : makes the folder NAME when every tool is there, else lists it as skipped.
group() {
    local name=$1 tool lacking=()
    shift
    for tool in "$@"; do
        case $tool in
            python3) [ -x $py ] || lacking+=(python3) ;;
            mutagen) $have_mutagen || lacking+=(python3-mutagen) ;;
            *) command -v "$tool" >/dev/null || lacking+=("$tool") ;;
        esac
    done
    if $probe; then
        printf '%s\t%s\n' "$name" "${lacking[*]}"
        return 1
    fi
    if [ ${#lacking[@]} -gt 0 ]; then
        printf '%s\t%s\n' "$name" "${lacking[*]}" >> "$out/skipped.tsv"
        return 1
    fi
    mkdir -p "$out/$name"
}

# tone NAME SECONDS RATE CHANNELS : a 440 Hz sine as 16-bit WAVE, NAME.wav.
tone() {
    $py - "$@" <<'PY'
import math, struct, sys, wave
name, seconds, rate, channels = sys.argv[1], float(sys.argv[2]), int(sys.argv[3]), int(sys.argv[4])
frame = lambda i: struct.pack("<h", int(8000 * math.sin(2 * math.pi * 440 * i / rate))) * channels
with wave.open(name + ".wav", "wb") as w:
    w.setnchannels(channels)
    w.setsampwidth(2)
    w.setframerate(rate)
    w.writeframes(b"".join(frame(i) for i in range(int(seconds * rate))))
PY
}

# ape FILE KEY=VALUE... : an APEv2 tag with these items, before an ID3v1 block if there is one.
ape() {
    $py - "$@" <<'PY'
import sys
from mutagen.apev2 import APEv2
tag = APEv2()
for item in sys.argv[2:]:
    key, value = item.split("=", 1)
    tag[key] = value
tag.save(sys.argv[1])
PY
}

if [ -x $py ] && ! $probe; then
    tone stereo 1 44100 2
    tone mono 1 8000 1
fi

# MPEG audio: no tag, ID3v2 alone, ID3v1 over ID3v2 (with and without an ID3v1 title), and
# ID3v1 with a year that is no number before ID3v2 and APE. Tags are written ID3v2 first, APE
# next and ID3v1 last, so that they lie in the file as players expect them.
if group mpeg python3 lame id3v2 mutagen; then
    cd "$out/mpeg"
    lame --quiet -b 128 -m j "$work/stereo.wav" plain.mp3
    for name in id3v2_only v1_over_v2 empty_v1_title v1_year_ape; do cp plain.mp3 $name.mp3; done
    id3v2 -2 -t "Blue Train" -a "John Coltrane" -A "Blue Train" -y 1957 -T 1/5 -g 8 id3v2_only.mp3
    id3v2 -2 -t "V2 Title" -a "V2 Artist" -A "V2 Album" -y 2001 -T 3/9 -g 17 v1_over_v2.mp3
    id3v2 -1 -t "V1 Title" -y 1960 -T 5 v1_over_v2.mp3
    id3v2 -2 -t "V2 Title" -a "V2 Artist" empty_v1_title.mp3
    id3v2 -1 -a "V1 Artist" empty_v1_title.mp3
    id3v2 -2 -t "V2 Title" v1_year_ape.mp3
    ape v1_year_ape.mp3 Title="APE Title" Album="APE Album" Year=1999 Track=7 Genre=Jazz
    id3v2 -1 -a "V1 Artist" -y 19x9 v1_year_ape.mp3
    cd "$work"
fi

if group ogg python3 oggenc; then
    oggenc -Q -q 1 -t "Café del Mar" -a "Sigur Rós" -l "Ágætis byrjun" -N 7/12 -d 1999 \
        -G "Post-rock" -o "$out/ogg/tags.ogg" stereo.wav
fi

# FLAC: a Vorbis comment (ARTIST in capitals, title in small letters) with ID3v1 and ID3v2 for
# the fields it lacks; and a file whose only tag is ID3v1.
if group flac python3 flac metaflac id3v2; then
    cd "$out/flac"
    flac -s --no-padding -T "ARTIST=Sigur Rós" -T "title=Straße" -T "TrackNumber=4" \
        -T "YEAR=1984" -o comment.flac "$work/stereo.wav"
    id3v2 -2 -t "V2 Title" -A "V2 Album" -g 8 comment.flac
    id3v2 -1 -t "V1 Title" -A "V1 Album" comment.flac
    flac -s --no-padding -o id3v1_only.flac "$work/mono.wav"
    metaflac --remove --block-type=VORBIS_COMMENT id3v1_only.flac
    id3v2 -1 -t "Only ID3v1" -a "Tag Artist" -A "Tag Album" -y 1977 -T 5 id3v1_only.flac
    cd "$work"
fi

# AAC in ADTS frames: MPEG-4 LC stereo with an ID3v2 tag from ffmpeg, an APE tag and ID3v1;
# MPEG-2 Main mono without tags.
if group aac ffmpeg id3v2 mutagen; then
    cd "$out/aac"
    ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=2:sample_rate=44100" -ac 2 \
        -c:a aac -b:a 96k -write_id3v2 1 -metadata title="V2 Title" -metadata artist="V2 Artist" \
        lc_tags.aac
    ape lc_tags.aac Title="APE Title" Artist="APE Artist" Album="APE Album"
    id3v2 -1 -t "V1 Title" lc_tags.aac
    ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=2:sample_rate=22050" -ac 1 \
        -c:a aac -profile:a aac_main -b:a 48k -write_mpeg2 1 main_mono.aac
    cd "$work"
fi

if group wma ffmpeg; then
    ffmpeg -nostdin -v error -f lavfi -i "sine=frequency=440:duration=2:sample_rate=44100" -ac 2 \
        -c:a wmav2 -b:a 64k -metadata title="Nocturne für Klavier" -metadata artist="Léa Dvořák" \
        -metadata album="Nachtstücke" -metadata WM/Year=2011 -metadata track=4 \
        -metadata genre="Klassik" "$out/wma/tags.wma"
fi

# WavPack files as the reader takes them: PCM WAVE under the .wv extension, with ID3v2, APE and
# ID3v1. (The RIFF-wrapped WavPack blocks are built by the tests.)
if group wav python3 id3v2 mutagen; then
    cp mono.wav "$out/wav/pcm_tags.wv"
    id3v2 -2 -t "Kiesel" "$out/wav/pcm_tags.wv"
    ape "$out/wav/pcm_tags.wv" Title="APE Title" Album="Steine" Genre=Folk
    id3v2 -1 -a "Bach am Hang" "$out/wav/pcm_tags.wv"
fi
# Musepack's encoder writes stream version 8, which the reader does not know: tagged all the same,
# so that no tag can make a track of it.
if group musepack python3 mpcenc mutagen; then
    mpcenc --silent --overwrite stereo.wav "$out/musepack/sv8.mpc"
    ape "$out/musepack/sv8.mpc" Title="SV8 Title" Artist="SV8 Artist"
fi
# WavPack's own encoder writes the current block format, without a RIFF wrapper.
if group wavpack python3 wavpack; then
    wavpack -q -y mono.wav -o "$out/wavpack/current.wv"
fi
