#!/usr/bin/env bash
# Makes the audio test files and their manifests with Debian's encoders and probes. Run by hand
# when the set changes (never by CI, which uses the committed files):
#
#   bash testdata/audio/generate.sh            every format
#   bash testdata/audio/generate.sh mpeg       one format
#
# Each format has a maker gen/<format>.sh, which writes <format>/*, and a prober
# gen/probe_<format>.py, which writes <format>/manifest.tsv: one reference value a line,
# "file<TAB>key<TAB>value<TAB>tool", with the versions of the packages used at its head.
# To add a format, add those two files; nothing here changes.
set -euo pipefail
HERE=$(cd "$(dirname "$0")" && pwd)
source "$HERE/gen/common.sh"

if [ $# -eq 0 ]; then
    set -- $(find "$HERE/gen" -name '*.sh' ! -name common.sh -printf '%f\n' | sed 's/\.sh$//' | sort)
fi
for format in "$@"; do
    echo "== $format"
    out="$HERE/$format"
    rm -rf "$out"
    mkdir -p "$out"
    WORK=$(mktemp -d)
    (
        cd "$WORK"
        source "$HERE/gen/$format.sh"
    )
    rm -rf "$WORK"
    files=$(cd "$out" && find . -maxdepth 1 -type f ! -name manifest.tsv -printf '%f\n' | sort)
    (cd "$out" && /usr/bin/python3 "$HERE/gen/probe_$format.py" $files > manifest.tsv)
    ls -l "$out"
done
