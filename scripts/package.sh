#!/bin/bash
# Builds the release package: a stripped, statically linked Release KorvaMacro.exe (cross-built
# with MinGW-w64) and build/package/KorvaMacro-VERSION-win64.zip with the exe, README.md and
# LICENSE. The version is the one in resources/KorvaMacro.rc.
set -euo pipefail
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/scripts/common.sh"

korva_install_deps
command -v zip >/dev/null || apt-get install -y -qq --no-install-recommends zip >/dev/null

tree="$KORVA_BUILD/release"
cmake -S "$KORVA_ROOT" -B "$tree" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKORVA_TESTS=OFF -DKORVA_BENCH=OFF \
    -DCMAKE_TOOLCHAIN_FILE="$KORVA_ROOT/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$tree" --target KorvaMacro -j"$(nproc)"
exe="$tree/KorvaMacro.exe"

# A static exe imports system DLLs only; a MinGW runtime DLL here would not be on the user's machine.
imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
foreign=$(echo "$imports" | grep -Ev '^(kernel32|user32|gdi32|comdlg32|winmm|dwmapi|advapi32|shell32|msvcrt|ucrtbase|api-ms-win-.*)\.dll$' || true)
[ -z "$foreign" ] || { echo "KorvaMacro.exe needs DLLs that Windows does not ship: $foreign" >&2; exit 1; }
if x86_64-w64-mingw32-objdump -h "$exe" | grep -q '\.debug_'; then
    echo "KorvaMacro.exe is not stripped" >&2
    exit 1
fi

version=$(sed -n 's/^#define KORVA_VERSION_TEXT "\(.*\)"/\1/p' "$KORVA_ROOT/resources/KorvaMacro.rc")
out="$KORVA_BUILD/package"
zipfile="$out/KorvaMacro-$version-win64.zip"
rm -rf "$out"
mkdir -p "$out/stage"
cp "$exe" "$KORVA_ROOT/README.md" "$KORVA_ROOT/LICENSE" "$out/stage/"
(cd "$out/stage" && zip -q -X "$zipfile" KorvaMacro.exe README.md LICENSE)
rm -rf "$out/stage"
echo "$zipfile ($(stat -c %s "$exe") bytes exe)"
