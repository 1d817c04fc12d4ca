# MPEG audio: Layers II and III of MPEG 1, 2 and 2.5, CBR (with and without an Info frame) and
# VBR (Xing), with ID3v1, ID3v2.3 (ISO-8859-1 and UTF-16), ID3v2.4 (UTF-8) and APEv2 tags, texts
# longer than 255 characters among them. Layer I, VBRI headers, ID3v2.2 and
# APEv1 have no Debian encoder; the tests build those byte by byte.
need ffmpeg lame twolame id3v2 /usr/bin/python3

tone stereo44 2 44100 2
tone stereo48 1.5 48000 2
tone mono22 2 22050 1
tone mono8 2 8000 1
tone stereo24 2 24000 2

# MPEG 1 Layer III, 128 kbit/s CBR, joint stereo; ID3v2.3 and ID3v1.1 in ISO-8859-1 by id3v2,
# genre as a number in parentheses.
lame --quiet -b 128 -m j stereo44.wav "$out/cbr128_id3v23_id3v11.mp3"
id3v2 -t "$(printf 'Caf\xe9 Blues')" -a "John Coltrane" -A "Blue Train" -y 1957 \
    -T 3/5 -g 17 -c "Remastered" "$out/cbr128_id3v23_id3v11.mp3"

# MPEG 1 Layer III VBR (Xing), joint stereo; ID3v2.4 in UTF-8 by ffmpeg, with a title long
# enough that frame sizes differ between synchsafe and plain numbers.
lame --quiet -V 4 stereo44.wav vbr.mp3
long_title="Ελληνικά και 日本語 — $(printf 'a very long title %.0s' 1 2 3 4 5 6 7 8)end"
ffmpeg -v error -y -i vbr.mp3 -c copy -id3v2_version 4 \
    -metadata title="$long_title" -metadata artist="Ærøskøbing Ensemble" \
    -metadata album="Čajovna" -metadata date=2019 -metadata track=7/12 \
    -metadata genre="Rock (Live)" -metadata comment="Zažloutlý kůň" \
    "$out/vbr_id3v24_utf8.mp3"

# MPEG 2 Layer III, 32 kbit/s CBR, mono; ID3v2.3 in UTF-16, an APEv2 tag (UTF-8) and an ID3v1
# block behind it, all by mutagen.
lame --quiet -b 32 -m m mono22.wav "$out/mpeg2_mono_utf16_ape.mp3"
/usr/bin/python3 - "$out/mpeg2_mono_utf16_ape.mp3" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK, TYER, TCON, COMM, TCOM, TENC, TCOP, WXXX
from mutagen.apev2 import APEv2
path = sys.argv[1]
tags = ID3()
tags.add(TIT2(encoding=1, text="Ÿ and ǿ"))
tags.add(TPE1(encoding=1, text="Ørjan Ålstad"))
tags.add(TALB(encoding=1, text="Fjord 𝄞 Songs"))
tags.add(TRCK(encoding=1, text="12"))
tags.add(TYER(encoding=1, text="2001"))
tags.add(TCON(encoding=1, text="(8)"))
tags.add(COMM(encoding=1, lang="nor", desc="note", text="Første utgave"))
tags.add(TCOM(encoding=1, text="Grieg"))
tags.add(TENC(encoding=1, text="lame"))
tags.add(TCOP(encoding=1, text="© 2001"))
tags.add(WXXX(encoding=1, desc="home", url="http://example.org/fjord"))
ape = APEv2()
ape["Title"] = "Søndag"
ape["Artist"] = "Ørjan Ålstad"
ape["Album"] = "Café Fjord"
ape["Track"] = "4/9"
ape["Year"] = "2002"
ape["Genre"] = "Folk"
ape["Comment"] = "Kaffe på fjorden"
ape["Copyright"] = "CC BY"
ape.save(path)
# ID3v1 last, behind the APE tag.
tags.save(path, v1=2, v2_version=3)
PY

# MPEG 2.5 Layer III VBR (Xing after mono side information), 8 kHz; no tags.
lame --quiet -V 9 -m m mono8.wav "$out/mpeg25_mono_vbr.mp3"

# MPEG 1 Layer II, 192 kbit/s, dual channel; no tags.
twolame --quiet -b 192 -m d stereo48.wav "$out/layer2_dual.mp2"

# MPEG 2 Layer II, 64 kbit/s, stereo; APEv2 tag with a header, then ID3v1.1.
twolame --quiet -b 64 -m s stereo24.wav "$out/mpeg2_layer2_ape.mp2"
/usr/bin/python3 - "$out/mpeg2_layer2_ape.mp2" <<'PY'
import sys
from mutagen.apev2 import APEv2
ape = APEv2()
ape["Title"] = "Rondo"
ape["Artist"] = "Quartet"
ape["Track"] = "2"
ape.save(sys.argv[1])
PY
id3v2 -1 -t "Rondo (v1)" -a "Quartet" -T 2 -g 32 "$out/mpeg2_layer2_ape.mp2"

# MPEG 1 Layer III, 64 kbit/s CBR, mono, preceded by an ID3v2.4 tag from mutagen with padding
# and a picture larger than one search block.
lame --quiet -b 64 -m m mono22.wav --resample 44.1 "$out/mono_cover_id3v24.mp3"
/usr/bin/python3 - "$out/mono_cover_id3v24.mp3" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, APIC, TDRC, TRCK
tags = ID3()
tags.add(TIT2(encoding=3, text="Cover Story"))
tags.add(TPE1(encoding=3, text="Mono Band"))
tags.add(TDRC(encoding=3, text="1999-05-01"))
tags.add(TRCK(encoding=3, text="x"))
tags.add(APIC(encoding=0, mime="image/png", type=3, desc="", data=bytes(range(256)) * 24))
tags.save(sys.argv[1], v2_version=4, v1=0)
PY

# MPEG 1 Layer III, 128 kbit/s CBR, joint stereo, by ffmpeg, whose Info frame says plain stereo.
# An ID3v2.3 title of 300 Cyrillic characters (UTF-16) by ffmpeg, and an APEv2 tag with a title
# of 300 Greek characters (UTF-8) by mutagen.
long_title=$(/usr/bin/python3 -c 'print(("Кириллический заголовок " * 14)[:300])')
ffmpeg -v error -y -i stereo44.wav -c:a libmp3lame -b:a 128k -id3v2_version 3 \
    -metadata title="$long_title" -metadata artist="Исполнитель" "$out/ffmpeg_info_long_texts.mp3"
/usr/bin/python3 - "$out/ffmpeg_info_long_texts.mp3" <<'PY'
import sys
from mutagen.apev2 import APEv2
ape = APEv2()
ape["Title"] = ("Ελληνικός τίτλος " * 20)[:300]
ape["Artist"] = "Καλλιτέχνης"
ape.save(sys.argv[1])
PY

# LAME at 96 and 128 kbit/s constant rate, each with an Info frame whose byte count takes in the
# header frame and the encoder's padding (a rate worked out from it comes out 2-3 % high). The
# 96 kbit/s file has an ID3v2.3 title of 353 ISO-8859-1 characters by id3v2, the 255th a blank;
# the 128 kbit/s one an ID3v2.4 title of 300 Japanese characters (UTF-8) by mutagen.
tone stereo44long 3 44100 2
tone mono48 2 48000 1
lame --quiet -b 96 stereo44long.wav "$out/lame_cbr96_latin_title.mp3"
latin_title=$(/usr/bin/python3 -c '
import sys
text = ("La " + "Élégie à trois voix, déjà entendue " * 11)[:352] + "."
assert len(text) == 353 and text[254] == " "
sys.stdout.buffer.write(text.encode("latin-1"))')
id3v2 -t "$latin_title" -a "Quatuor Müller" "$out/lame_cbr96_latin_title.mp3"
lame --quiet -b 128 -m m mono48.wav "$out/lame_cbr128_mono48.mp3"
/usr/bin/python3 - "$out/lame_cbr128_mono48.mp3" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1
tags = ID3()
tags.add(TIT2(encoding=3, text=("夜想曲と前奏曲、ピアノのための作品集 " * 20)[:300]))
tags.add(TPE1(encoding=3, text="東京弦楽四重奏団"))
tags.save(sys.argv[1], v2_version=4, v1=0)
PY
