#!/usr/bin/env bash
# Macro files through the real Open dialog: a macro loaded, saved under its output name with the
# very bytes it came from (and not overwritten when the question is answered No), "Clear", loaded
# back; then damaged and hostile files: the program never crashes, refuses what is not a macro
# file and loads what a damaged one still holds.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

DATA="$E2E_DRIVE_C/KorvaMacro/Data"
lines() { printf '%s\r\n' "$@"; }
# The file exactly as the program writes it, so that saving it again gives the same bytes.
lines KORVAMACRO_V1 "PLAYMODE 1" "MOUSEMODE 2" "MASTER 1" "DEVICEINDEX 0" "OUTPUT Round Trip" "RECORD_HOTKEY 1 117" \
    "PLAY_HOTKEY 0 0" "HOLD_OFF_HOTKEY 0 0" "SPEED 1.25" "MACRO_COUNT 3" "EV 0 0 12 -3 0 0" "EV 1 140 0 0 1 0" \
    "EV 3 95 0 0 0 65" >"$DATA/Seeded.kmc"
SEEDED_ROWS="0: Move dx=12 dy=-3  delay=0 ms|1: Mouse down btn=1  delay=140 ms|2: Key vk=0x41  delay=95 ms|"
rows() { e2e_list | tr '\n' '|'; }
checked() { e2e_probe checked KorvaMacro | sort | tr '\n' ' '; }
load() { e2e_load_macro "C:\\KorvaMacro\\Data\\$1"; }
click_save() { e2e_click $((490 + 17)) $((15 + 10)); }
shows() { # shows WHEN OUTPUT SPEED CHECKED ROWS
    e2e_check "$1: output, speed, checked modes and rows (got $(e2e_output_text)/$(e2e_control_text 5005)/$(checked)/$(rows))" \
        test "$(e2e_output_text)/$(e2e_control_text 5005)/$(checked)/$(rows)" = "$2/$3/$4/$5"
}

e2e_check "the Open dialog loads Seeded.kmc" load Seeded.kmc
shows "after the first load" "Round Trip" 1.250 "2102 2203 " "$SEEDED_ROWS"
click_save
sleep 0.5
e2e_check "Save wrote 'Round Trip.kmc' with the very bytes it was loaded from" cmp -s "$DATA/Round Trip.kmc" "$DATA/Seeded.kmc"
# Saving again asks first; Enter picks the default "No" and the file stays as it was.
echo changed >>"$DATA/Round Trip.kmc"
cp "$DATA/Round Trip.kmc" "$DATA/before-second-save"
click_save
e2e_check "a second Save asks before overwriting" e2e_wait_window "Overwrite existing macro?"
e2e_key Return
e2e_check "Enter answers No and closes the question" e2e_wait_gone "Overwrite existing macro?"
e2e_check "No keeps the saved file byte for byte" cmp -s "$DATA/Round Trip.kmc" "$DATA/before-second-save"
cp "$DATA/Seeded.kmc" "$DATA/Round Trip.kmc"

e2e_click $((17 + 17)) $((40 + 8))
shows "Clear" "(Virtual Mouse 1)" 0.600 "2101 2201 " ""
e2e_check "the Open dialog loads the saved file" load "Round Trip.kmc"
shows "after loading the saved file" "Round Trip" 1.250 "2102 2203 " "$SEEDED_ROWS"

HEADER=("KORVAMACRO_V1" "PLAYMODE 0" "MOUSEMODE 0" "MASTER 1" "DEVICEINDEX 0" "OUTPUT Damaged" "RECORD_HOTKEY 0 0"
    "PLAY_HOTKEY 0 0" "HOLD_OFF_HOTKEY 0 0" "SPEED 0.6")
# Cut short in the middle of its second event line.
{ lines "${HEADER[@]}" "MACRO_COUNT 3" "EV 0 0 12 -3 0 0" && printf 'EV 1 14'; } >"$DATA/truncated.kmc"
# A byte-order mark before the magic is not a macro file.
{ printf '\xef\xbb\xbf' && lines "${HEADER[@]}" "MACRO_COUNT 1" "EV 0 0 1 1 0 0"; } >"$DATA/bom.kmc"
lines "${HEADER[@]}" "MACRO_COUNT 18446744073709551615" "EV 0 0 7 7 0 0" "EV 2 9 0 0 2 0" >"$DATA/hugecount.kmc"
# Lines of 10,000 characters: a name, a junk header line, blanks inside an event line.
long() { head -c 10000 /dev/zero | tr '\0' "$1"; }
lines "KORVAMACRO_V1" "OUTPUT $(long n)" "$(long X)" "MACRO_COUNT 1" "EV 0 0 3$(long ' ')4 0 0" >"$DATA/longlines.kmc"
head -c 200000 /dev/urandom >"$DATA/noise.kmc"
# file | the rows afterwards (what the file still holds, or the macro before it when refused)
lists() { e2e_app_alive && [ "$(rows)" = "$(tr ';' '|' <<<"$1")" ]; }
while IFS='|' read -r -u 3 file expected; do
    e2e_check "the Open dialog takes $file" load "$file"
    e2e_check "$file: the program lives and lists $expected (got $(rows))" lists "$expected"
done 3<<'EOF'
truncated.kmc|0: Move dx=12 dy=-3  delay=0 ms;1: Mouse down btn=0  delay=14 ms;
bom.kmc|0: Move dx=12 dy=-3  delay=0 ms;1: Mouse down btn=0  delay=14 ms;
hugecount.kmc|0: Move dx=7 dy=7  delay=0 ms;1: Mouse up btn=2  delay=9 ms;
longlines.kmc|0: Move dx=3 dy=4  delay=0 ms;
noise.kmc|0: Move dx=3 dy=4  delay=0 ms;
EOF
e2e_check "the long name reaches the output box (the probe reads 1023 characters)" test "$(e2e_output_text | wc -c)" -ge 1000

e2e_screenshot damaged-files >/dev/null
e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
