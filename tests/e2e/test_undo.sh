#!/usr/bin/env bash
# Undo and redo with the keys through loading, Delete, Set, Clear and a recording, checked in the
# list and in saved files; a macro opened from the command line; a second start handing its path
# to the running program; a missing file reported once.
source "$(dirname "$0")/harness.sh"
e2e_setup

DATA="$E2E_DRIVE_C/KorvaMacro/Data"
e2e_write_key_macro Second.kmc 70
e2e_write_key_macro First.kmc 68 69
mkdir -p "$E2E_DRIVE_C/Some Folder"
mv "$DATA/First.kmc" "$E2E_DRIVE_C/Some Folder/Opened Macro.kmc"

start_with() { wine "$E2E_BIN/KorvaMacro.exe" "$@" >/dev/null 2>&1 & }
# The key codes of the listed rows, e.g. "44 45 ", and their delays.
keys() { e2e_list | sed -n 's/.*vk=0x\([0-9a-f]*\).*/\1/p' | tr '\n' ' '; }
delays() { e2e_list | sed -n 's/.*delay=\([0-9]*\) ms/\1/p' | tr '\n' ' '; }
has_keys() { [ "$(keys)" = "$1" ]; }
press() { # press KEYS EXPECTED WHAT
    e2e_key "$1"
    e2e_check "$3 (got '$(keys)')" e2e_poll 5 has_keys "$2"
}
ended() { ! kill -0 "$1" 2>/dev/null; }
LIST_X=150 LIST_EMPTY_Y=300

start_with 'C:\Some Folder\Opened Macro.kmc'
APP_PID=$!
e2e_wait_window KorvaMacro
e2e_check "the command line's macro is listed (got '$(keys)')" e2e_poll 10 has_keys "44 45 "
e2e_check "Output shows its file name (got '$(e2e_output_text)')" test "$(e2e_output_text)" = "Opened Macro"

e2e_click $LIST_X $LIST_EMPTY_Y
press ctrl+z "" "Ctrl+Z in the list undoes the load"
press ctrl+y "44 45 " "Ctrl+Y redoes it"

e2e_click 100 159 3 # ticks row 0
e2e_click 355 293   # Delete
e2e_check "Delete removes the ticked row" has_keys "45 "
press ctrl+z "44 45 " "Ctrl+Z on the Delete button brings the row back"
press ctrl+shift+z "45 " "Ctrl+Shift+Z deletes it again"
press ctrl+z "44 45 " "Ctrl+Z once more"

e2e_click 100 177 # selects row 1
e2e_replace_text 355 251 "2.5"
e2e_key ctrl+z
e2e_check "Ctrl+Z in the delay edit leaves the macro alone" has_keys "44 45 "
e2e_replace_text 355 251 "2.5"
e2e_click 418 251 # Set
e2e_check "Set writes the delay (got '$(delays)')" test "$(delays)" = "25 2500 "
e2e_click 507 25 # Save as "Opened Macro"
e2e_check "Save wrote the set delay" grep -q "EV 3 2500 0 0 0 69" "$DATA/Opened Macro.kmc"
e2e_key ctrl+z
e2e_check "Ctrl+Z undoes Set (got '$(delays)')" test "$(delays)" = "25 25 "
e2e_replace_text 170 119 "Undone"
e2e_click 507 25
e2e_check "the saved file holds the undone macro" \
    grep -qz "MACRO_COUNT 2.*EV 3 25 0 0 0 68.*EV 3 25 0 0 0 69" "$DATA/Undone.kmc"

e2e_click 34 48 # Clear
e2e_check "Clear empties the list" has_keys ""
press ctrl+z "44 45 " "Ctrl+Z undoes Clear"
e2e_click $RECORD_X $RECORD_Y
e2e_click $RECORD_X $RECORD_Y
e2e_click $LIST_X $LIST_EMPTY_Y
press ctrl+z "44 45 " "Ctrl+Z undoes the recording that replaced the macro"

start_with 'C:\KorvaMacro\Data\Second.kmc'
SECOND=$!
e2e_check "a second start with a path ends" e2e_poll 20 ended $SECOND
e2e_check "the running program loaded its path (got '$(keys)')" e2e_poll 10 has_keys "46 "
e2e_check "and shows its name" test "$(e2e_output_text)" = "Second"
e2e_check "one main window only" test "$(xdotool search --name '^KorvaMacro$' | wc -l)" = 1
e2e_click $LIST_X $LIST_EMPTY_Y
press ctrl+z "44 45 " "Ctrl+Z undoes the handed-over load"

start_with
SECOND=$!
e2e_check "a second start without a path ends" e2e_poll 20 ended $SECOND
start_with 'C:\nowhere\missing.kmc'
e2e_check "a handed-over missing file is reported" e2e_wait_window "Cannot open macro"
e2e_key Return
e2e_check "the report closes" e2e_wait_gone "Cannot open macro"
e2e_check "and the macro stays" has_keys "44 45 "
e2e_close_app
e2e_wait_exit

start_with 'C:\nowhere\missing.kmc'
APP_PID=$!
e2e_check "a missing file on the command line is reported" e2e_wait_window "Cannot open macro"
e2e_key Return
e2e_check "and the program starts empty" e2e_poll 5 has_keys ""
e2e_check "with its main window" e2e_wait_window KorvaMacro
e2e_close_app
e2e_wait_exit
e2e_check "the program ends cleanly (code $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
