# Shared shell helpers: installing what is missing, a private X display and private Wine prefixes.
# Sourced by the build, start and test scripts and by the end-to-end harness.

KORVA_ROOT=${KORVA_ROOT:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
KORVA_BUILD=${KORVA_BUILD:-$KORVA_ROOT/build}
export WINEDEBUG=-all
export WINEARCH=win64

korva_install_deps() {
    # fonts-wine gives Wine the Tahoma and MS Sans Serif metrics the window layouts are made for;
    # without it every label is drawn with a wider fallback font and wraps or is cut.
    local packages="cmake ninja-build g++ clang googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
        wine wine64 fonts-wine fonts-liberation xvfb xdotool x11-apps x11-utils imagemagick python3
        libclang-rt-14-dev"
    local missing=""
    for p in $packages; do
        dpkg -s "$p" >/dev/null 2>&1 || missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq && apt-get install -y -qq --no-install-recommends $missing >/dev/null
}

# Starts Xvfb on the first free display and exports DISPLAY; the pid goes to KORVA_XVFB_PID.
# Several runs may start at once, so a display taken in the meantime moves on to the next one.
korva_start_xvfb() {
    local n=90 tries
    while [ "$n" -lt 190 ]; do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
            KORVA_XVFB_PID=$!
            for tries in $(seq 1 50); do
                kill -0 "$KORVA_XVFB_PID" 2>/dev/null || break
                if [ -e "/tmp/.X11-unix/X$n" ] && xdpyinfo -display ":$n" >/dev/null 2>&1; then
                    export DISPLAY=":$n"
                    return 0
                fi
                sleep 0.1
            done
            kill "$KORVA_XVFB_PID" 2>/dev/null
        fi
        n=$((n + 1))
    done
    echo "Xvfb did not start" >&2
    return 1
}

korva_stop_xvfb() {
    [ -n "${KORVA_XVFB_PID:-}" ] && kill "$KORVA_XVFB_PID" 2>/dev/null
    KORVA_XVFB_PID=""
}

# Boots one template prefix per run; every user of a prefix gets a fresh copy of it.
korva_template_prefix() {
    local template="$KORVA_BUILD/wine-template"
    if [ ! -f "$template/system.reg" ]; then
        rm -rf "$template"
        mkdir -p "$template"
        WINEPREFIX="$template" wine wineboot -i >/dev/null 2>&1
        WINEPREFIX="$template" wineserver -w
    fi
    echo "$template"
}

# Prints the path of a fresh private prefix copied from the template.
korva_new_prefix() {
    local template prefix
    template=$(korva_template_prefix)
    prefix=$(mktemp -d /tmp/korva-prefix.XXXXXX)
    cp -a "$template/." "$prefix/"
    echo "$prefix"
}

korva_configure_and_build() {
    local tree=$1
    shift
    cmake -S "$KORVA_ROOT" -B "$KORVA_BUILD/$tree" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$KORVA_BUILD/$tree" -j"$(nproc)"
}

korva_build_windows() {
    korva_configure_and_build windows -DCMAKE_TOOLCHAIN_FILE="$KORVA_ROOT/cmake/mingw-w64-x86_64.cmake" "$@"
}
