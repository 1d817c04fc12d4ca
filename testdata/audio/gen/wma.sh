# Windows Media Audio in ASF by ffmpeg: version 2 stereo with every text ffmpeg can store,
# version 1 mono with none, and version 2 at 320 kbit/s with texts longer than 255 characters. The header objects ffmpeg does not write (descriptors of other value
# types, WM/Track, broken sizes) are built byte by byte in the tests.
need ffmpeg

tone stereo44 2 44100 2
tone mono22 2 22050 1
tone stereo44short 1 44100 2

ffmpeg -v error -y -i stereo44.wav -c:a wmav2 -b:a 64k \
    -metadata title="Nocturne für Klavier" -metadata artist="Léa Dvořák" \
    -metadata album="Nachtstücke" -metadata date=2011 -metadata track=4 \
    -metadata genre="Klassik" -metadata comment="Live – Saal 2" -metadata copyright="© 2011" \
    "$out/wmav2_stereo_tags.wma"

ffmpeg -v error -y -i mono22.wav -c:a wmav1 -b:a 32k -fflags +bitexact "$out/wmav1_mono.wma"

# At 320 kbit/s ffmpeg writes an average of exactly 40 000 bytes a second. A title of 300
# Cyrillic characters (in the content description) and an album of 300 Greek ones (in the
# extended content description).
long_title=$(/usr/bin/python3 -c 'print(("Ночная серенада для фортепиано " * 12)[:300])')
long_album=$(/usr/bin/python3 -c 'print(("Νυχτερινά κομμάτια για πιάνο " * 12)[:300])')
ffmpeg -v error -y -i stereo44short.wav -c:a wmav2 -b:a 320k -metadata title="$long_title" \
    -metadata album="$long_album" -metadata artist="Оркестр" "$out/wmav2_320k_long_texts.wma"
