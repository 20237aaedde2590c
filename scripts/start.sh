#!/usr/bin/env bash
# Installs what is missing, builds KorvaMacro.exe and starts it under Wine.
# Uses the current X display when there is one; without one the program runs on a private Xvfb
# display that nobody sees, so a screenshot of it is saved to show that it is up.
set -euo pipefail
source "$(dirname "$0")/common.sh"
korva_install_deps
# Only the program is built; the tree's test and benchmark settings stay as test.sh left them.
cmake -S "$KORVA_ROOT" -B "$KORVA_BUILD/windows" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$KORVA_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$KORVA_BUILD/windows" --target KorvaMacro
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-korvamacro}
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$KORVA_BUILD/windows/KorvaMacro.exe"
fi

app=""
korva_start_xvfb
trap '[ -n "$app" ] && kill "$app" 2>/dev/null; korva_stop_xvfb' EXIT
echo "No display was set: KorvaMacro runs on the virtual display $DISPLAY, which nobody can see."
wine "$KORVA_BUILD/windows/KorvaMacro.exe" >/dev/null 2>&1 &
app=$!
shot="$KORVA_BUILD/artifacts/start.png"
mkdir -p "$(dirname "$shot")"
# The first start in a new prefix sets the prefix up first, which can take a minute.
window=""
for _ in $(seq 1 600); do
    window=$(xdotool search --name '^KorvaMacro$' 2>/dev/null | head -1) && [ -n "$window" ] && break
    kill -0 "$app" 2>/dev/null || { echo "KorvaMacro ended before its window appeared" >&2; exit 1; }
    sleep 0.2
done
[ -n "$window" ] || { echo "The main window did not appear" >&2; exit 1; }
sleep 1 # let the window paint
import -display "$DISPLAY" -window "$window" "$shot"
echo "Screenshot of the main window: $shot"
echo "To use the program itself, run this script where a display is set: in a terminal of a desktop"
echo "session, or over 'ssh -X' (DISPLAY is then set for you)."
echo "KorvaMacro keeps running on $DISPLAY until you press Ctrl+C."
wait "$app"
