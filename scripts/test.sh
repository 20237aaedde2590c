#!/usr/bin/env bash
# Installs what is missing, builds every tree and runs every test layer:
#   1. native unit tests of the portable core (plain, then AddressSanitizer + UBSan, then ThreadSanitizer)
#   2. the libFuzzer targets for a bounded time (clang)
#   3. the Win32 tests under Wine on a private Xvfb display
#   4. the end-to-end scenarios: the real program under Wine, driven with xdotool
# Ends with one line "N passed, N failed" over all layers; exits non-zero when anything failed.
set -uo pipefail
source "$(dirname "$0")/common.sh"

FUZZ_SECONDS=${KORVA_FUZZ_SECONDS:-20}
# KORVA_LAYERS picks layers while developing, e.g. "native wine"; the default runs them all.
LAYERS=" ${KORVA_LAYERS:-native sanitizers fuzz wine e2e} "
has_layer() { [[ "$LAYERS" == *" $1 "* ]]; }
TOTAL_PASSED=0
TOTAL_FAILED=0
FAILED_NAMES=""
TIMES=""
START=$SECONDS
# Each step's time and every failure are repeated at the end, where a log's tail shows them.
mark_time() { TIMES="$TIMES $1=$((SECONDS - ${2:-$START}))s"; }

count_ctest() {
    # Reads ctest's summary line "..., N tests failed out of M".
    local log=$1 failed total
    read -r failed total < <(sed -nE 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$log" | tail -1)
    if [ -z "${total:-}" ]; then
        TOTAL_FAILED=$((TOTAL_FAILED + 1))
        FAILED_NAMES="$FAILED_NAMES $(basename "$log" .log)(no-summary)"
        echo "!! no ctest summary in $log"
        return
    fi
    if [ "$failed" -gt 0 ]; then
        FAILED_NAMES="$FAILED_NAMES $(basename "$log" .log):$(sed -nE 's/^\s*[0-9]+ - ([^ ]+) .*/\1/p' "$log" | tr '\n' ',')"
    fi
    TOTAL_PASSED=$((TOTAL_PASSED + total - failed))
    TOTAL_FAILED=$((TOTAL_FAILED + failed))
}

run_ctest() {
    local name=$1 dir=$2
    shift 2
    echo "== $name"
    local log="$KORVA_BUILD/$name.log" started=$SECONDS
    ctest --test-dir "$dir" --output-on-failure -j"$(nproc)" "$@" 2>&1 | tee "$log" | grep -vE '^\s+(Start|[0-9]+/[0-9]+ Test)' || true
    count_ctest "$log"
    mark_time "$name" "$started"
}

korva_install_deps || { echo "installing dependencies failed"; exit 1; }
mkdir -p "$KORVA_BUILD"

mark_time install
echo "== building"
built=$SECONDS
if has_layer native; then korva_configure_and_build native || exit 1; fi
if has_layer sanitizers; then
    korva_configure_and_build asan -DKORVA_SANITIZE=address,undefined -DKORVA_BENCH=OFF || exit 1
    korva_configure_and_build tsan -DKORVA_SANITIZE=thread -DKORVA_BENCH=OFF || exit 1
fi
if has_layer fuzz; then
    CC=clang CXX=clang++ korva_configure_and_build fuzz -DKORVA_FUZZ=ON -DKORVA_TESTS=OFF -DKORVA_BENCH=OFF \
        -DKORVA_SANITIZE=address,undefined,fuzzer-no-link || exit 1
fi
if has_layer wine || has_layer e2e; then korva_build_windows || exit 1; fi
mark_time build "$built"

if has_layer native; then run_ctest native "$KORVA_BUILD/native"; fi
if has_layer sanitizers; then
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 run_ctest asan "$KORVA_BUILD/asan"
    TSAN_OPTIONS=halt_on_error=1 run_ctest tsan "$KORVA_BUILD/tsan"
fi

shopt -s nullglob
has_layer fuzz || FUZZERS_OFF=1
for fuzzer in "$KORVA_BUILD"/fuzz/fuzz_*; do
    [ -z "${FUZZERS_OFF:-}" ] && [ -x "$fuzzer" ] || continue
    name=$(basename "$fuzzer")
    corpus="$KORVA_BUILD/corpus-$name"
    mkdir -p "$corpus"
    seeds="$KORVA_ROOT/fuzz/seeds/${name#fuzz_}"
    echo "== $name for ${FUZZ_SECONDS}s"
    started=$SECONDS
    if "$fuzzer" -max_total_time="$FUZZ_SECONDS" -rss_limit_mb=512 -max_len=65536 "$corpus" \
        $([ -d "$seeds" ] && echo "$seeds") >"$KORVA_BUILD/$name.log" 2>&1; then
        tail -1 "$KORVA_BUILD/$name.log"
        TOTAL_PASSED=$((TOTAL_PASSED + 1))
    else
        tail -30 "$KORVA_BUILD/$name.log"
        TOTAL_FAILED=$((TOTAL_FAILED + 1))
        FAILED_NAMES="$FAILED_NAMES $name"
    fi
    mark_time "$name" "$started"
done

if has_layer wine; then
echo "== Win32 tests under Wine"
korva_start_xvfb || exit 1
WINEPREFIX=$(korva_new_prefix)
export WINEPREFIX
# One persistent wineserver with its helper processes started here, detached from ctest's pipes,
# so that every test process connects to them instead of starting (and waiting for) its own.
wineserver -p 2>/dev/null
wine cmd /c exit >/dev/null 2>&1 </dev/null
run_ctest wine "$KORVA_BUILD/windows" --timeout 120
wineserver -k 2>/dev/null
rm -rf "$WINEPREFIX"
unset WINEPREFIX
korva_stop_xvfb
fi

has_layer e2e && echo "== end-to-end scenarios"
for scenario in "$KORVA_ROOT"/tests/e2e/test_${KORVA_E2E:-*}.sh; do
    has_layer e2e || break
    started=$SECONDS
    name=$(basename "$scenario" .sh)
    # A scenario that hangs must not use up the whole run.
    if timeout -k 20 "${KORVA_E2E_SECONDS:-900}" bash "$scenario"; then
        TOTAL_PASSED=$((TOTAL_PASSED + 1))
    else
        TOTAL_FAILED=$((TOTAL_FAILED + 1))
        FAILED_NAMES="$FAILED_NAMES $name"
    fi
    mark_time "$name" "$started"
done

mark_time total
echo "times:$TIMES"
[ -n "$FAILED_NAMES" ] && echo "failed:$FAILED_NAMES"
echo "$TOTAL_PASSED passed, $TOTAL_FAILED failed"
[ "$TOTAL_FAILED" -eq 0 ]
