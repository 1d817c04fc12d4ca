# Helpers for the makers in this folder; sourced by generate.sh. A maker runs in a scratch
# folder and writes its files to "$out".

export LC_ALL=C.UTF-8

# tone NAME SECONDS RATE CHANNELS : a quiet sine sweep as 16-bit WAV, NAME.wav.
tone() {
    ffmpeg -v error -y -f lavfi -i "sine=frequency=440:beep_factor=3:duration=$2:sample_rate=$3" \
        -ac "$4" -c:a pcm_s16le "$1.wav"
}

# need TOOL... : stops with a clear message when a tool is missing.
need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || { echo "missing tool: $tool" >&2; exit 1; }
    done
}
