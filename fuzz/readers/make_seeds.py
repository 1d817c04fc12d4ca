#!/usr/bin/python3
"""Writes the seeds of fuzz_readers: a small file of every format the readers know.

Most are cut from the files of testdata/audio: the head, which holds the stream headers and the
tags in front, and the tail, which holds the tags behind. MPEG Layer I and the RIFF-wrapped
WavPack layout have no Debian encoder; they are built byte by byte from the formats' definitions.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
AUDIO = os.path.join(HERE, "..", "..", "testdata", "audio")
SEEDS = os.path.join(HERE, "seeds")

# seed name: (file of testdata/audio, bytes kept from the head, bytes kept from the tail)
CUTS = {
    "mp3_id3v23_id3v1.mp3": ("mpeg/cbr128_id3v23_id3v11.mp3", 3800, 128),
    "mp3_xing_id3v24.mp3": ("mpeg/vbr_id3v24_utf8.mp3", 3000, 0),
    "mp3_mpeg2_utf16_ape.mp3": ("mpeg/mpeg2_mono_utf16_ape.mp3", 2400, 600),
    "mp3_mpeg25_vbr.mp3": ("mpeg/mpeg25_mono_vbr.mp3", 3744, 0),
    "mp2_ape_id3v1.mp2": ("mpeg/mpeg2_layer2_ape.mp2", 2000, 600),
    "mp2_dual.mp2": ("mpeg/layer2_dual.mp2", 2400, 0),
    "mpc_sv4.mpc": ("musepack/sv4_160k.mpc", 1000, 0),
    "mpc_sv5_ape.mpc": ("musepack/sv5_joint_ape.mpc", 1500, 400),
    "mpc_sv7.mpc": ("musepack/sv7_32k_stereo.mpc", 2000, 0),
    "mpc_sv71_id3.mpc": ("musepack/sv71_48k_id3.mpc", 2000, 128),
    "ogg_six_channels.ogg": ("ogg/six_channels.ogg", 4729, 0),
    "ogg_id3v2.ogg": ("ogg/id3v2_prefix.ogg", 4000, 1000),
    "vqf_mono.vqf": ("twinvq/mono_8k_8.vqf", 3044, 0),
    "ape_old_peak.ape": ("monkey/v3950_peak.ape", 2544, 0),
    "ape_descriptor_tag.ape": ("monkey/v3990_stereo16_ape.ape", 1000, 400),
    "ape_id3.ape": ("monkey/v3980_mono24_48k.ape", 1700, 128),
    "wma_v1.wma": ("wma/wmav1_mono.wma", 500, 0),
    "wma_tags.wma": ("wma/wmav2_stereo_tags.wma", 1100, 0),
    "wv_pcm_id3.wv": ("wavpack/pcm8_mono_id3.wv", 1400, 128),
    "wv_bare_block_ape.wv": ("wavpack/ffmpeg_mono.wv", 500, 300),
    "aac_adts_tags.aac": ("aac/mpeg4_ltp_tags.aac", 1500, 300),
    "aac_adif.aac": ("aac/adif_5_1.aac", 1000, 0),
    "aac_id3v1.aac": ("aac/mpeg2_lc_id3v1.aac", 1500, 128),
    "flac_id3v1.flac": ("flac/id3v1_only.flac", 2569, 0),
    "flac_id3v2.flac": ("flac/id3v2_prefix.flac", 1000, 128),
    "flac_blocks.flac": ("flac/mono24_blocks.flac", 3500, 0),
    "ofr_ape.ofr": ("optimfrog/stereo16_ape.ofr", 600, 400),
    "ofr_id3.ofr": ("optimfrog/float_stereo_id3.ofr", 1500, 128),
}


def cut(name, head, tail):
    with open(os.path.join(AUDIO, name), "rb") as f:
        data = f.read()
    if head + tail >= len(data):
        return data
    return data[:head] + (data[-tail:] if tail else b"")


def id3v1(title):
    return b"TAG" + title.ljust(30, b"\0") + b"Artist".ljust(30, b"\0") + b"Album".ljust(
        30, b"\0") + b"1999" + b"Comment".ljust(28, b"\0") + b"\0\x05\x11"


def layer1():
    # MPEG 1 Layer I, 128 kbit/s, 44.1 kHz, stereo: 34 slots of 4 bytes a frame.
    frame = b"\xff\xff\x40\x00" + bytes(132)
    return frame * 20 + id3v1(b"Layer I")


def riff_chunk(kind, body):
    return kind + struct.pack("<I", len(body)) + body


def riff_wavpack():
    # A RIFF/WAVE file whose "data" chunk starts with the 36-byte "wvpk" block header.
    fmt = riff_chunk(b"fmt ", struct.pack("<HHIIHH", 1, 2, 44100, 44100 * 4, 4, 16))
    audio = b"\x5a" * 1000
    block = b"wvpk" + struct.pack("<IHHHHIIII", 28 + len(audio), 0x403, 16, 0, 0, 44100, 0,
                                  len(audio), 0x12345678) + bytes(4)
    chunks = fmt + riff_chunk(b"data", block + audio)
    return b"RIFF" + struct.pack("<I", len(chunks) + 4) + b"WAVE" + chunks + id3v1(b"Wrapped")


def main():
    os.makedirs(SEEDS, exist_ok=True)
    seeds = {name: cut(*where) for name, where in CUTS.items()}
    seeds["mp1_layer1_id3v1.mp1"] = layer1()
    seeds["wv_riff_wvpk.wv"] = riff_wavpack()
    for name, data in seeds.items():
        with open(os.path.join(SEEDS, name), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
