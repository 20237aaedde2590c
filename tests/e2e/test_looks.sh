#!/usr/bin/env bash
# Saving under names Windows treats specially: device names, a name too long for a path, a name
# outside one byte per character, and a save that fails, which must say so.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app
DATA="$E2E_DRIVE_C/KorvaMacro/Data"
mkdir -p "$DATA/Blocked.kmc" # a folder where the file would go

# Types the name into the output box (again while keys outside the keymap got lost on their way
# into Wine; the probe shows them as "?") and presses "Save".
save_as() {
    for _ in 1 2 3; do
        e2e_replace_text 170 119 "$1"
        [ "$(e2e_output_text)" = "$(LC_ALL=C.UTF-8 sed 's/[^ -~]/?/g' <<<"$1")" ] && break
    done
    e2e_click $((490 + 17)) $((15 + 10))
}

for pair in "NUL|NUL_.kmc" "con.kmc|con_.kmc" "Макро宏|______.kmc"; do
    save_as "${pair%%|*}"
    e2e_check "Output '${pair%%|*}' saves as '${pair#*|}'" e2e_poll 10 test -s "$DATA/${pair#*|}"
done
e2e_check "OUTPUT holds the name as the file does" grep -q $'^OUTPUT ______\r$' "$DATA/______.kmc"
e2e_check "no save asked about overwriting" e2e_wait_gone "Overwrite existing macro?"

save_as Blocked
e2e_wait_window "Overwrite existing macro?" && e2e_key y
e2e_check "a failed save says so" e2e_wait_window "Save failed"
e2e_check "... naming the file" grep -qF 'C:\KorvaMacro\Data\Blocked.kmc' <<<"$(e2e_texts "Save failed")"
e2e_key Return

# The output box takes no more than it shows; a loaded macro brings a longer name.
LONG=$(printf 'n%.0s' $(seq 1 250))
printf 'KORVAMACRO_V1\r\nOUTPUT %s\r\nMACRO_COUNT 0\r\n' "$LONG" >"$DATA/long.kmc"
e2e_load_macro 'C:\KorvaMacro\Data\long.kmc'
e2e_click $((490 + 17)) $((15 + 10))
e2e_check "a name too long for a path is shortened to fit" e2e_poll 10 test -s "$DATA/${LONG:0:236}.kmc"
e2e_close_app
e2e_wait_exit
