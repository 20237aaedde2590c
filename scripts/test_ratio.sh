#!/usr/bin/env bash
# Prints the test budget: lines of test code against lines of program code, as `wc -l` over the
# files git tracks. Test code is everything under tests/ and fuzz/ but the fuzz seeds (unit, Wine,
# fuzz, end-to-end scripts, harness, probe); program code is core/ app/ ui/ input/ macro/ storage/. The
# build files, resources, bench/, scripts/, docs/ and the README count on neither side. Budget: 35%.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { git ls-files -z -- "$@" | xargs -0 -r cat | wc -l; }
tests=$(count tests fuzz ':!fuzz/seeds')
program=$(count core app ui input macro storage)
echo "test lines:    $tests (tests/ fuzz/ without the seeds)"
echo "program lines: $program (core/ app/ ui/ input/ macro/ storage/)"
awk -v t="$tests" -v p="$program" 'BEGIN { printf "ratio:         %.1f%% (budget 35%%)\n", 100 * t / p; exit !(t <= 0.35 * p) }'
