# Windows Media Audio in ASF by ffmpeg: version 2 stereo with every text ffmpeg can store,
# version 1 mono with none. The header objects ffmpeg does not write (descriptors of other value
# types, WM/Track, broken sizes) are built byte by byte in the tests.
need ffmpeg

tone stereo44 2 44100 2
tone mono22 2 22050 1

ffmpeg -v error -y -i stereo44.wav -c:a wmav2 -b:a 64k \
    -metadata title="Nocturne für Klavier" -metadata artist="Léa Dvořák" \
    -metadata album="Nachtstücke" -metadata date=2011 -metadata track=4 \
    -metadata genre="Klassik" -metadata comment="Live – Saal 2" -metadata copyright="© 2011" \
    "$out/wmav2_stereo_tags.wma"

ffmpeg -v error -y -i mono22.wav -c:a wmav1 -b:a 32k -fflags +bitexact "$out/wmav1_mono.wma"
