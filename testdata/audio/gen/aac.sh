# AAC in ADTS frames by ffmpeg: MPEG-4 and MPEG-2 headers, the LC, Main and LTP profiles, mono
# and stereo, with ID3v2.4 and APEv2 tags (ffmpeg) or an ID3v1 block behind the frames. ADIF
# has no Debian encoder; the tests build it byte by byte.
need ffmpeg /usr/bin/python3

tone stereo44 2 44100 2
tone mono22 1.5 22050 1
tone stereo48 1 48000 2
tone mono16 10 16000 1

# MPEG-4 LC, 96 kbit/s, stereo; no tags.
ffmpeg -v error -y -i stereo44.wav -c:a aac -b:a 96k "$out/mpeg4_lc_stereo.aac"

# MPEG-2 headers, Main profile, mono 22.05 kHz.
ffmpeg -v error -y -i mono22.wav -c:a aac -profile:a aac_main -b:a 48k -write_mpeg2 1 \
    "$out/mpeg2_main_mono.aac"

# MPEG-4 LTP, stereo 48 kHz, with ffmpeg's ID3v2.4 tag in front and its APEv2 tag behind.
ffmpeg -v error -y -i stereo48.wav -c:a aac -profile:a aac_ltp -strict -2 -b:a 64k \
    -write_id3v2 1 -write_apetag 1 -metadata title="Überfahrt" -metadata artist="Kvartet Ø" \
    -metadata album="Hafen" -metadata date=2004 -metadata track=5 "$out/mpeg4_ltp_tags.aac"

# Ten seconds of MPEG-2 LC mono at 16 kHz, with an ID3v1.1 block after the last frame.
ffmpeg -v error -y -i mono16.wav -c:a aac -b:a 24k -write_mpeg2 1 "$out/mpeg2_lc_id3v1.aac"
/usr/bin/python3 - "$out/mpeg2_lc_id3v1.aac" <<'PY'
import sys
def field(text, size):
    return text.encode("latin-1").ljust(size, b"\0")
block = (b"TAG" + field("Ten Seconds", 30) + field("Sine Trio", 30) + field("Tones", 30)
         + field("1999", 4) + field("long file", 28) + b"\0" + bytes([9]) + bytes([52]))
with open(sys.argv[1], "ab") as f:
    f.write(block)
PY
