# OptimFROG files: built from the format's definition, as Debian has no encoder. The 23-byte
# header: "OFR ", its size (15), the total samples of all channels (48 bits, low 32 first),
# sample type, channel configuration (0 mono, 1 stereo), sample rate, encoder id and
# compression (mode shl 3 or speed), followed by stand-in frame data.
/usr/bin/python3 - "$out" "$HERE/gen" <<'PY'
import sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[2])
from byte_built import add_ape, add_id3, le16, le32, noise, write

out = sys.argv[1]


def ofr(name, samples, sample_type, channel_mode, rate, compression, seed):
    total = samples << channel_mode
    head = (b"OFR " + le32(15) + le32(total & 0xFFFFFFFF) + le16(total >> 32) +
            bytes([sample_type, channel_mode]) + le32(rate) + le16(4540) + bytes([compression]))
    write(f"{out}/{name}", head + noise(4000, seed))


ofr("stereo16_ape.ofr", 2 * 44100, 2, 1, 44100, 2 << 3, 31)
add_ape(f"{out}/stereo16_ape.ofr", Title="Blue Train", Artist="John Coltrane",
        Album="Blue Train", Track="1", Year="1957")
ofr("mono24_48k.ofr", 3 * 48000, 4, 0, 48000, 5 << 3, 32)
ofr("float_stereo_id3.ofr", 44100 * 5 // 2, 8, 1, 44100, 9 << 3 | 1, 33)
add_id3(f"{out}/float_stereo_id3.ofr", v1=True, TIT2="I'm Old Fashioned", TPE1="Coltrane")
ofr("stereo8_22k.ofr", 22050 * 3 // 2, 0, 1, 22050, 0, 34)
PY
