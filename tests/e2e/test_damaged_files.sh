#!/usr/bin/env bash
# Damaged and hostile macro files loaded through the real Open dialog: the program never crashes,
# refuses what is not a macro file and loads what a damaged one still holds.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

DATA="$E2E_DRIVE_C/KorvaMacro/Data"
lines() { printf '%s\r\n' "$@"; }
HEADER=("KORVAMACRO_V1" "PLAYMODE 0" "MOUSEMODE 0" "MASTER 1" "DEVICEINDEX 0" "OUTPUT Damaged" "RECORD_HOTKEY 0 0"
    "PLAY_HOTKEY 0 0" "HOLD_OFF_HOTKEY 0 0" "SPEED 0.6")

lines "${HEADER[@]}" "MACRO_COUNT 2" "EV 0 0 5 6 0 0" "EV 3 20 0 0 0 66" >"$DATA/good.kmc"
# Cut short in the middle of its second event line.
lines "${HEADER[@]}" "MACRO_COUNT 3" "EV 0 0 12 -3 0 0" >"$DATA/truncated.kmc"
printf 'EV 1 14' >>"$DATA/truncated.kmc"
# A byte-order mark before the magic is not a macro file.
{ printf '\xef\xbb\xbf'; lines "${HEADER[@]}" "MACRO_COUNT 1" "EV 0 0 1 1 0 0"; } >"$DATA/bom.kmc"
# The largest count there is, with two event lines behind it.
lines "${HEADER[@]}" "MACRO_COUNT 18446744073709551615" "EV 0 0 7 7 0 0" "EV 2 9 0 0 2 0" >"$DATA/hugecount.kmc"
# Lines of 10,000 characters: a name, a junk header line, blanks inside an event line.
long_name=$(head -c 10000 /dev/zero | tr '\0' 'n')
junk=$(head -c 10000 /dev/zero | tr '\0' 'X')
blanks=$(head -c 10000 /dev/zero | tr '\0' ' ')
lines "KORVAMACRO_V1" "OUTPUT $long_name" "$junk" "MACRO_COUNT 1" "EV 0 0 3${blanks}4 0 0" >"$DATA/longlines.kmc"
head -c 200000 /dev/urandom >"$DATA/noise.kmc"

load() { e2e_load_macro "C:\\KorvaMacro\\Data\\$1"; }
rows() { e2e_list | tr '\n' '|'; }

e2e_check "a good file loads" load good.kmc
e2e_check "its two rows show (got $(rows))" test "$(rows)" = "0: Move dx=5 dy=6  delay=0 ms|1: Key vk=0x42  delay=20 ms|"

e2e_check "the Open dialog takes the truncated file" load truncated.kmc
e2e_check "a truncated file loads what it holds (got $(rows))" \
    test "$(rows)" = "0: Move dx=12 dy=-3  delay=0 ms|1: Mouse down btn=0  delay=14 ms|"

e2e_check "the Open dialog takes the file with a byte-order mark" load bom.kmc
e2e_check "a byte-order mark is refused and the macro stays (got $(rows))" \
    test "$(rows)" = "0: Move dx=12 dy=-3  delay=0 ms|1: Mouse down btn=0  delay=14 ms|"

e2e_check "the Open dialog takes the file with MACRO_COUNT 2^64-1" load hugecount.kmc
e2e_check "the program survives an absurd count" e2e_app_alive
e2e_check "the two event lines load (got $(rows))" \
    test "$(rows)" = "0: Move dx=7 dy=7  delay=0 ms|1: Mouse up btn=2  delay=9 ms|"

e2e_check "the Open dialog takes the file with 10,000-character lines" load longlines.kmc
e2e_check "the program survives long lines" e2e_app_alive
e2e_check "the blanks-filled event line loads (got $(rows | head -c 80))" test "$(rows)" = "0: Move dx=3 dy=4  delay=0 ms|"
e2e_check "the long name reaches the output box (the probe reads 1023 characters)" test "$(e2e_output_text | wc -c)" -ge 1000

e2e_check "the Open dialog takes a file of random bytes" load noise.kmc
e2e_check "the program survives random bytes" e2e_app_alive
e2e_check "random bytes are refused and the macro stays" test "$(rows)" = "0: Move dx=3 dy=4  delay=0 ms|"

e2e_screenshot damaged-files >/dev/null
e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
