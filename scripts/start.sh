#!/usr/bin/env bash
# Installs what is missing, builds KorvaMacro.exe and starts it under Wine.
# Uses the current X display when there is one, else a private Xvfb display.
set -euo pipefail
source "$(dirname "$0")/common.sh"
korva_install_deps
korva_build_windows -DKORVA_TESTS=OFF -DKORVA_BENCH=OFF
if [ -z "${DISPLAY:-}" ]; then
    korva_start_xvfb
    echo "No display was set: KorvaMacro runs on the virtual display $DISPLAY"
fi
export WINEPREFIX=${WINEPREFIX:-$HOME/.wine-korvamacro}
exec wine "$KORVA_BUILD/windows/KorvaMacro.exe"
