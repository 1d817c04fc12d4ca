# Ogg Vorbis: mono and stereo at several rates, comments by oggenc, vorbiscomment and mutagen
# (lower-case names, PERFORMER and DESCRIPTION in place of ARTIST and COMMENT, a comment header
# that cover art spreads over several pages), an ID3v2 tag in front of the stream, and a
# six-channel file; a title of 332 Greek characters. oggenc gets fixed serial numbers, so that
# the files come out the same each time.
need ffmpeg oggenc vorbiscomment /usr/bin/python3

tone stereo44 2 44100 2
tone mono22 2 22050 1
tone stereo48 1 48000 2
tone stereo32 1 32000 2
tone six22 1 22050 6

# Stereo with every recognised field from oggenc, in UTF-8, a character past U+FFFF included.
oggenc -Q -s 1 -q 1 -t "Café del Mar" -a "Sigur Rós" -l "Ágætis byrjun" -N 7/12 -d 1999 \
    -G "Post-rock" -c "COMMENT=Ελληνικά 𝄞 notes" -o "$out/stereo_tags.ogg" stereo44.wav

# Mono; field names in lower case, PERFORMER and DESCRIPTION only, a track that is no number.
oggenc -Q -s 1 -q 0 -o "$out/mono_performer.ogg" mono22.wav
printf '%s\n' "title=Mono Title" "performer=Solo Singer" "description=Described here" \
    "tracknumber=A1" "genre=Folk" "date=2019-05-01" |
    vorbiscomment -w -c /dev/stdin "$out/mono_performer.ogg"

# Cover art in the comment header: mutagen splits the header over pages of about 4 KB, so the
# fields after the picture lie on a later page than the comment header's start.
oggenc -Q -s 1 -q 2 -o "$out/picture_multipage.ogg" stereo32.wav
ffmpeg -v error -y -f lavfi -i mandelbrot=s=64x64 -frames:v 1 cover.png
/usr/bin/python3 - "$out/picture_multipage.ogg" cover.png <<'PY'
import base64, sys
from mutagen.flac import Picture
from mutagen.oggvorbis import OggVorbis
ogg = OggVorbis(sys.argv[1])
ogg["TITLE"] = "Before the picture"
picture = Picture()
picture.type = 3
picture.mime = "image/png"
picture.width = picture.height = 64
picture.depth = 24
picture.data = open(sys.argv[2], "rb").read()
ogg["METADATA_BLOCK_PICTURE"] = base64.b64encode(picture.write()).decode()
ogg["ARTIST"] = "After the picture"
ogg["ALBUM"] = "Second Page"
ogg["TRACKNUMBER"] = "3"
ogg["DATE"] = "2004"
ogg["GENRE"] = "Ambient"
ogg["COMMENT"] = "Last field"
ogg.save()
PY

# An ID3v2.4 tag with padding in front of the stream, written by mutagen.
oggenc -Q -s 1 -q 3 -a "Comment Artist" -t "Comment Title" -o "$out/id3v2_prefix.ogg" \
    stereo48.wav
/usr/bin/python3 - "$out/id3v2_prefix.ogg" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1
tags = ID3()
tags.add(TIT2(encoding=3, text="ID3 Title"))
tags.add(TPE1(encoding=3, text="ID3 Artist"))
tags.save(sys.argv[1], v2_version=4, v1=0, padding=lambda info: 300)
PY

# Six channels: read, but not valid.
oggenc -Q -s 1 -q 0 -t "Surround" -o "$out/six_channels.ogg" six22.wav

# A title of 332 Greek characters, 664 bytes.
oggenc -Q -s 1 -q 1 -t "$(/usr/bin/python3 -c 'print(("Ελληνικός τίτλος " * 20)[:332])')" \
    -a "Καλλιτέχνης" -o "$out/long_greek_title.ogg" mono22.wav
