# TwinVQ files: no Debian tool encodes them, so they are built from the format's definition:
# "TWIN", the version text "97012000", the header size (big-endian, counting the chunks up to
# "DATA"), the chunks (id, big-endian size, body) starting with COMM (channel mode 0 mono /
# 1 stereo, bit rate in kbit/s, sample rate in kHz, security level), then "DATA" and the
# frames. The modes are ones ffprobe's decoder accepts.
/usr/bin/python3 - "$out" "$HERE/gen" <<'PY'
import sys
sys.dont_write_bytecode = True
sys.path.insert(0, sys.argv[2])
from byte_built import be32, noise, write

out = sys.argv[1]


def chunk(chunk_id, body):
    return chunk_id + be32(len(body)) + body


def vqf(name, mode, bit_rate, rate_khz, seconds, texts, seed):
    chunks = chunk(b"COMM", be32(mode) + be32(bit_rate) + be32(rate_khz) + be32(0))
    for chunk_id, text in texts:
        chunks += chunk(chunk_id, text.encode("cp1252"))
    data = noise(int(seconds * bit_rate * 125), seed)
    write(f"{out}/{name}", b"TWIN97012000" + be32(len(chunks)) + chunks + b"DATA" + data)


vqf("stereo_44k_96.vqf", 1, 96, 44, 1.5,
    [(b"NAME", "Blue Train"), (b"AUTH", "John Coltrane"), (b"ALBM", "Blue Train"),
     (b"(c) ", "1957 Blue Note"), (b"COMT", "Remastered"), (b"FILE", "blue_train.wav")], 11)
vqf("mono_22k_20.vqf", 0, 20, 22, 2.0,
    [(b"NAME", "Café Noir"), (b"AUTH", "Trio"), (b"DSIZ", "\0\0\x10\0")], 12)
vqf("stereo_11k_16.vqf", 1, 16, 11, 2.5, [(b"NAME", "  Padded  ")], 13)
vqf("mono_8k_8.vqf", 0, 8, 8, 3.0, [], 14)
PY
