# WavPack by the wavpack tool and ffmpeg, and plain PCM WAVE files named .wv. Today's WavPack
# streams begin with a "wvpk" block and carry no RIFF wrapper of their own; the RIFF-wrapped
# layout with a "wvpk" header in the "data" chunk has no Debian encoder and is built byte by
# byte in the tests.
need ffmpeg wavpack /usr/bin/python3

tone stereo11 1 11025 2
tone mono8 1 8000 1

# WavPack 5 lossless with an APEv2 tag written by the encoder.
wavpack -q -y -w "Title=Fluss" -w "Artist=Strom & Söhne" -w "Album=Ufer" -w "Track=2/7" \
    -w "Year=2016" stereo11.wav -o "$out/wavpack_ape.wv"

# WavPack by ffmpeg, mono.
ffmpeg -v error -y -i mono8.wav -c:a wavpack "$out/ffmpeg_mono.wv"

# Plain 16-bit PCM WAVE under the .wv extension, bare and with ID3v2.3 in front and ID3v1
# behind.
cp stereo11.wav "$out/pcm_stereo.wv"
ffmpeg -v error -y -i mono8.wav -c:a pcm_u8 -f wav "$out/pcm8_mono_id3.wv"
/usr/bin/python3 - "$out/pcm8_mono_id3.wv" <<'PY'
import sys
from mutagen.id3 import ID3, TIT2, TPE1, TALB, TRCK
tags = ID3()
tags.add(TIT2(encoding=1, text="Kiesel"))
tags.add(TPE1(encoding=1, text="Bach am Hang"))
tags.add(TALB(encoding=1, text="Steine"))
tags.add(TRCK(encoding=1, text="3"))
tags.save(sys.argv[1], v1=2, v2_version=3)
PY
