# FLAC: 8-, 16- and 24-bit, mono and stereo; Vorbis comments by flac and metaflac (a DATE without
# YEAR, a YEAR, lower-case names); seek table, padding and picture blocks before the comment;
# an ID3v2 tag in front of "fLaC"; an ID3v1 tag and no comment; STREAMINFO as the only block.
need ffmpeg flac metaflac id3v2 /usr/bin/python3

tone stereo44 2 44100 2
tone stereo22 1 22050 2
tone mono8k 1 8000 1
ffmpeg -v error -y -f lavfi -i "sine=frequency=440:beep_factor=3:duration=1:sample_rate=48000" \
    -ac 1 -c:a pcm_s24le mono48_24.wav
ffmpeg -v error -y -i mono8k.wav -c:a pcm_u8 mono8k_8.wav

# 16-bit stereo, every common field from flac; DATE and no YEAR.
flac -s -f --no-padding -T "TITLE=Café del Mar" -T "ARTIST=Sigur Rós" -T "ALBUM=Ágætis byrjun" \
    -T "TRACKNUMBER=4" -T "DATE=2019-05-01" -T "GENRE=Post-rock" -T "COMMENT=Ελληνικά 𝄞" \
    -o "$out/stereo16_date.flac" stereo44.wav

# 24-bit mono: seek table, padding, picture, then the comment as the last block, with its names
# in lower and mixed case and a YEAR.
flac -s -f --no-padding -o "$out/mono24_blocks.flac" mono48_24.wav
metaflac --remove --block-type=VORBIS_COMMENT "$out/mono24_blocks.flac"
metaflac --add-padding=512 "$out/mono24_blocks.flac"
ffmpeg -v error -y -f lavfi -i mandelbrot=s=32x32 -frames:v 1 cover.png
metaflac --dont-use-padding --import-picture-from=cover.png "$out/mono24_blocks.flac"
metaflac --dont-use-padding --set-tag="title=Straße" --set-tag="Artist=Ærøskøbing" \
    --set-tag="album=Ωμέγα" --set-tag="tracknumber=2/9" --set-tag="year=1984" \
    --set-tag="Genre=Folk" "$out/mono24_blocks.flac"

# 16-bit stereo behind an ID3v2.3 tag, with an ID3v1 tag at the end, both by mutagen.
flac -s -f --no-padding -T "TITLE=Comment Title" -T "YEAR=2001" -o "$out/id3v2_prefix.flac" \
    stereo22.wav
/usr/bin/python3 - "$out/id3v2_prefix.flac" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1
tags = ID3()
tags.add(TIT2(encoding=1, text="ID3 Title"))
tags.add(TPE1(encoding=1, text="ID3 Artist"))
tags.save(sys.argv[1], v2_version=3, v1=2, padding=lambda info: 200)
PY

# 8-bit mono without a comment block, an ID3v1 tag at its end.
flac -s -f --no-padding -o "$out/id3v1_only.flac" mono8k_8.wav
metaflac --remove --block-type=VORBIS_COMMENT "$out/id3v1_only.flac"
id3v2 -1 -t "Only ID3v1" -a "Tag Artist" -A "Tag Album" -y 1977 -T 5 "$out/id3v1_only.flac"

# STREAMINFO flagged as the last block.
flac -s -f --no-padding -T "TITLE=Never read" -o "$out/streaminfo_last.flac" stereo22.wav
metaflac --remove-all --dont-use-padding "$out/streaminfo_last.flac"
