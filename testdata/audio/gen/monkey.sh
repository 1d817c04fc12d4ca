# Monkey's Audio files: built from the format's definition, as Debian has no encoder. Versions
# from 3980 on: "MAC ", version, a 52-byte descriptor (descriptor, header, seek table, header
# data, frame data and terminating data sizes, MD5), a 24-byte header (compression level,
# flags, blocks per frame, final frame blocks, total frames, bits, channels, sample rate), the
# seek table and the frames. Older versions: "MAC ", version, compression level, flags,
# channels, sample rate, WAV header bytes, terminating bytes, total frames, final frame blocks,
# then the peak level (flag 0x20) and the seek element count (flag 0x04), the seek table and
# the frames. Blocks per frame follow from version and compression level.
/usr/bin/python3 - "$out" "$HERE/gen" <<'PY'
import sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[2])
from byte_built import add_ape, add_id3, le16, le32, noise, write

out = sys.argv[1]
FRAME_BYTES = 2500


def descriptor_layout(name, version, compression, blocks_per_frame, frames, final_blocks,
                      bits, channels, rate, seed):
    seek_bytes = 4 * frames
    start = 52 + 24 + seek_bytes
    seek = b"".join(le32(start + i * FRAME_BYTES) for i in range(frames))
    data = noise(FRAME_BYTES * frames, seed)
    descriptor = (b"MAC " + le16(version) + le16(0) + le32(52) + le32(24) + le32(seek_bytes) +
                  le32(0) + le32(len(data)) + le32(0) + le32(0) + bytes(16))
    head = (le16(compression) + le16(0) + le32(blocks_per_frame) + le32(final_blocks) +
            le32(frames) + le16(bits) + le16(channels) + le32(rate))
    write(f"{out}/{name}", descriptor + head + seek + data)


def old_layout(name, version, compression, flags, channels, rate, frames, final_blocks, peak,
               seed):
    head = (b"MAC " + le16(version) + le16(compression) + le16(flags) + le16(channels) +
            le32(rate) + le32(0) + le32(0) + le32(frames) + le32(final_blocks))
    extra = (le32(peak) if flags & 0x20 else b"") + (le32(frames) if flags & 0x04 else b"")
    start = len(head) + len(extra) + 4 * frames
    seek = b"".join(le32(start + i * FRAME_BYTES) for i in range(frames))
    write(f"{out}/{name}", head + extra + seek + noise(FRAME_BYTES * frames, seed))


descriptor_layout("v3990_stereo16_ape.ape", 3990, 2000, 73728, 2, 20000, 16, 2, 44100, 21)
add_ape(f"{out}/v3990_stereo16_ape.ape", Title="Blue Train", Artist="John Coltrane",
        Album="Blue Train", Year="1957", Track="1", Genre="Jazz")
descriptor_layout("v3980_mono24_48k.ape", 3980, 4000, 73728, 2, 30000, 24, 1, 48000, 22)
add_id3(f"{out}/v3980_mono24_48k.ape", v1=True, TIT2="Lazy Bird", TPE1="John Coltrane")
descriptor_layout("v3990_8bit_22k.ape", 3990, 1000, 73728, 1, 40000, 8, 2, 22050, 23)
old_layout("v3950_peak.ape", 3950, 2000, 0x24, 2, 44100, 1, 90000, 12345, 24)
old_layout("v3900_seek.ape", 3900, 3000, 0x04, 2, 44100, 2, 20000, 0, 25)
old_layout("v3800_extra_high_8bit.ape", 3800, 4000, 0x05, 2, 44100, 2, 20000, 0, 26)
old_layout("v3700_24bit.ape", 3700, 2000, 0x0C, 1, 32000, 8, 5000, 0, 27)
PY
