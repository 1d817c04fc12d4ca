# Musepack stream versions 4 to 7.1: no Debian encoder writes them (mpcenc writes only version
# 8), so the header is built from the format's definition. SV7 header: "MP+" and the version
# byte, the frame count, then a word holding (from the top bit) intensity stereo, mid-side,
# max band, profile, link, sample-rate index and max level. SV4-6: a first word of bit rate
# (9 bits), intensity stereo, mid-side, version (10 bits), max band (5) and block size (6),
# then the frame count (its high half in version 4).
/usr/bin/python3 - "$out" "$HERE/gen" <<'PY'
import sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[2])
from byte_built import add_ape, add_id3, le32, noise, write

out = sys.argv[1]


def sv7(frames, rate_index, mid_side, minor=0):
    flags = (mid_side << 30) | (31 << 24) | (10 << 20) | (rate_index << 16)
    head = b"MP+" + bytes([minor << 4 | 7]) + le32(frames) + le32(flags)
    return head + bytes(15) + bytes([115]) + bytes(4)  # byte 27: encoder version 1.15


def old(version, frames, bit_rate, mid_side):
    word1 = (bit_rate << 23) | (mid_side << 21) | (version << 11) | (31 << 6) | 1
    return le32(word1) + le32(frames << 16 if version == 4 else frames) + bytes(24)


write(f"{out}/sv7_joint_ape.mpc", sv7(90, 0, 1) + noise(9000, 1))
add_ape(f"{out}/sv7_joint_ape.mpc", Title="Blue Train", Artist="John Coltrane",
        Album="Blue Train", Year="1957", Track="1/5", Genre="Jazz")
write(f"{out}/sv71_48k_id3.mpc", sv7(80, 1, 0, minor=1) + noise(7000, 2))
add_id3(f"{out}/sv71_48k_id3.mpc", v1=True, TIT2="Moment's Notice", TPE1="John Coltrane",
        TALB="Blue Train", TRCK="2")
write(f"{out}/sv7_32k_stereo.mpc", sv7(60, 3, 0) + noise(5000, 3))
write(f"{out}/sv6_stereo.mpc", old(6, 88, 0, 0) + noise(8000, 4))
write(f"{out}/sv5_joint_ape.mpc", old(5, 86, 128, 1) + noise(8000, 5))
add_ape(f"{out}/sv5_joint_ape.mpc", Title="Locomotion", Artist="Coltrane")
write(f"{out}/sv4_160k.mpc", old(4, 84, 160, 1) + noise(8000, 6))
PY
