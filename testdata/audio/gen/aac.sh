# AAC in ADTS frames by ffmpeg: MPEG-4 and MPEG-2 headers, the LC, Main and LTP profiles, mono
# and stereo, with ID3v2.4 and APEv2 tags (ffmpeg) or an ID3v1 block behind the frames. ADIF
# has no Debian encoder: one file wraps ffmpeg's raw blocks in an ADIF header built here, and
# the tests build more byte by byte.
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

# ADIF around the raw blocks of a 5.1 ADTS stream: one program config element with a single
# channel and a channel pair in front, a pair at the back and an LFE, as the ADTS channel
# configuration 6 orders them. Six channels in four elements.
ffmpeg -v error -y -f lavfi -i "sine=frequency=330:duration=1:sample_rate=32000" \
    -af "pan=5.1|c0=c0|c1=c0|c2=c0|c3=c0|c4=c0|c5=c0" -c:a aac -b:a 96k surround.aac
/usr/bin/python3 - surround.aac "$out/adif_5_1.aac" <<'PY'
import sys
data = open(sys.argv[1], "rb").read()
raw, pos, frames = b"", 0, 0
while pos + 7 <= len(data):
    length = ((data[pos + 3] & 3) << 11) | (data[pos + 4] << 3) | (data[pos + 5] >> 5)
    raw += data[pos + 7:pos + length]  # no CRC: the header is 7 bytes
    pos += length
    frames += 1
bits = []
def put(value, count):
    bits.extend((value >> i) & 1 for i in range(count - 1, -1, -1))
for c in b"ADIF":
    put(c, 8)
put(0, 3)                                  # no copyright id, original_copy, home
put(0, 1)                                  # constant rate
put(round(len(raw) * 8 * 32000 / (1024 * frames)), 23)
put(0, 4)                                  # one program config element
put(0, 20)                                 # buffer fullness
put(0, 4); put(1, 2); put(5, 4)            # tag, LC, 32000 Hz
put(2, 4); put(0, 4); put(1, 4); put(1, 2)  # front, side, back, LFE elements
put(0, 3); put(0, 4); put(0, 3)            # no data or coupling elements, no mixdowns
put(0, 1); put(0, 4); put(1, 1); put(0, 4)  # front: single channel 0, pair 0
put(1, 1); put(1, 4)                       # back: pair 1
put(0, 4)                                  # LFE 0
bits.extend([0] * (-len(bits) % 8))
put(0, 8)                                  # no comment
header = bytes(int("".join(map(str, bits[i:i + 8])), 2) for i in range(0, len(bits), 8))
open(sys.argv[2], "wb").write(header + raw)
PY
