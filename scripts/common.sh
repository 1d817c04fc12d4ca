# Shared by the scripts of this folder: installs what a build needs and configures it.

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=${JOBS:-$(nproc 2>/dev/null || echo 2)}

# install_packages LIST... : installs the Debian packages of scripts/packages/LIST.txt that are
# missing; quiet and quick when everything is there.
install_packages() {
    local list missing=()
    for list in "$@"; do
        while read -r pkg; do
            [ -z "$pkg" ] && continue
            dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'ok installed' ||
                missing+=("$pkg")
        done < <(sed 's/#.*//' "$ROOT/scripts/packages/$list.txt" | tr -s ' \t' '\n')
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing Debian packages: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# configure BUILD_DIR CMAKE_ARGS... : configures with Ninja, through ccache when it is there.
configure() {
    local dir=$1
    shift
    local launcher=()
    command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    cmake -S "$ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
}

# release_build [TARGET...] : the program (or the targets given, "all" for everything) as
# released, into build/release, warnings as errors. scripts/run, scripts/e2e and scripts/test
# share this one configuration, so none rebuilds what another built; it holds the test programs
# too, built only when asked for, since the optimiser finds warnings of its own in them.
release_build() {
    configure "$ROOT/build/release" -DCMAKE_BUILD_TYPE=Release -DRV_BUILD_TESTS=ON -DRV_WERROR=ON
    cmake --build "$ROOT/build/release" -j "$JOBS" --target "${@:-reelvault}"
}
