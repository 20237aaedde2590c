#!/usr/bin/env bash
# Macro files: one opened from the command line, one loaded through the real Open dialog, saved
# under its output name with the very bytes it came from (kept when the question is answered No),
# "Clear", loaded back; undo and redo with the keys; a second start handing its path to the running
# program; a save that fails; closing while a playback holds a button.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_write_key_macro Second.kmc 70
e2e_write_key_macro First.kmc 68 69
mkdir -p "$E2E_DRIVE_C/Some Folder" "$E2E_DATA/Blocked.kmc" # a folder where the file Blocked.kmc would go
mv "$E2E_DATA/First.kmc" "$E2E_DRIVE_C/Some Folder/Opened Macro.kmc"
# The file exactly as the program writes it, so that saving it again gives the same bytes.
e2e_write_macro Seeded.kmc "PLAYMODE 1" "LOOP_COUNT 3" "MOUSEMODE 2" "MASTER 1" "DEVICEINDEX 0" "OUTPUT Round Trip" \
    "RECORD_HOTKEY 1 117" "PLAY_HOTKEY 0 0" "HOLD_OFF_HOTKEY 0 0" "SPEED 1.25" "MACRO_COUNT 3" "EV 0 0 12 -3 0 0" \
    "EV 1 140 0 0 1 0" "EV 3 95 0 0 0 65"
SEEDED_ROWS="0: Move dx=12 dy=-3  delay=0 ms|1: Mouse down btn=1  delay=140 ms|2: Key vk=0x41  delay=95 ms|"
has_rows() { [ "$(e2e_rows)" = "$1" ]; }
press() { # press KEYS ROWS WHAT
    e2e_key "$1"
    e2e_check "$3 (got $(e2e_rows))" e2e_poll 5 has_rows "$2"
}
checked() { e2e_probe checked KorvaMacro | sort | tr '\n' ' '; }
load() { e2e_load_macro "C:\\KorvaMacro\\Data\\$1"; }
click_save() { e2e_click $((490 + 17)) $((15 + 10)); }
settings() { echo "$(e2e_output_text)/$(e2e_control_text 3001)/$(e2e_control_text 5005)/$(checked)/$(e2e_rows)"; }
shows() { # shows WHEN OUTPUT/RECORD_HOTKEY/SPEED/CHECKED/ROWS
    e2e_check "$1: output, record hotkey, speed, checked modes and rows (got $(settings))" test "$(settings)" = "$2"
}
start_with() { wine "$E2E_BIN/KorvaMacro.exe" "$@" >/dev/null 2>&1 & }
ended() { ! kill -0 "$1" 2>/dev/null; }
e2e_start_app 'C:\Some Folder\Opened Macro.kmc'
e2e_check "the command line's macro is listed" \
    e2e_poll 10 has_rows "0: Key vk=0x44  delay=25 ms|1: Key vk=0x45  delay=25 ms|"
e2e_check "Output shows its file name (got '$(e2e_output_text)')" test "$(e2e_output_text)" = "Opened Macro"
e2e_check "the Open dialog loads Seeded.kmc" load Seeded.kmc
shows "after the first load" "Round Trip/F6/1.250/2102 2203 /$SEEDED_ROWS"
click_save
sleep 0.5
e2e_check "Save wrote 'Round Trip.kmc' with the very bytes it was loaded from" cmp -s "$E2E_DATA/Round Trip.kmc" "$E2E_DATA/Seeded.kmc"
# Saving again asks first; Enter picks the default "No" and the file stays as it was.
echo changed >>"$E2E_DATA/Round Trip.kmc"
cp "$E2E_DATA/Round Trip.kmc" "$E2E_DATA/before-second-save"
click_save
e2e_check "a second Save asks before overwriting" e2e_wait_window "Overwrite existing macro?"
e2e_check "... naming the file" grep -qF 'C:\KorvaMacro\Data\Round Trip.kmc exists. Replace it?' <<<"$(e2e_texts "Overwrite existing macro?")"
e2e_key Return # the default button, "No"
e2e_wait_gone "Overwrite existing macro?"
e2e_check "No keeps the saved file byte for byte" cmp -s "$E2E_DATA/Round Trip.kmc" "$E2E_DATA/before-second-save"
# Yes writes the macro Save was pressed for, though a hand-over replaced it while the question was open.
click_save
e2e_wait_window "Overwrite existing macro?" && start_with 'C:\KorvaMacro\Data\Second.kmc'
second=$!
e2e_check "a hand-over loads during the question" e2e_poll 20 has_rows "0: Key vk=0x46  delay=25 ms|"
e2e_check "the second start that handed its path over ends" e2e_poll 20 ended $second
e2e_click 20 20 1 "Overwrite existing macro?" && e2e_key y
e2e_check "Yes writes the macro Save was pressed for" e2e_poll 5 cmp -s "$E2E_DATA/Round Trip.kmc" "$E2E_DATA/Seeded.kmc"
e2e_click $((17 + 17)) $((40 + 8))
shows "Clear" "(Virtual Mouse 1)/None/0.600/2101 2201 /"
e2e_check "the Open dialog loads the saved file" load "Round Trip.kmc"
e2e_click 150 300 # the list, below its rows
press ctrl+z "" "Ctrl+Z in the list undoes the load"
press ctrl+y "$SEEDED_ROWS" "Ctrl+Y redoes it"
e2e_click 100 159 3 # ticks row 0
e2e_click 355 293   # Delete
press ctrl+z "$SEEDED_ROWS" "Ctrl+Z on the Delete button brings the deleted row back"
e2e_click 100 177 # selects row 1
e2e_replace_text 355 251 2.5
e2e_key ctrl+z
e2e_check "Ctrl+Z in the delay edit leaves the macro alone" has_rows "$SEEDED_ROWS"
printf 'junk\r\n' >"$E2E_DATA/junk.kmc"
e2e_load_macro 'C:\KorvaMacro\Data\junk.kmc'
e2e_check "Add says why it cannot load a file" e2e_wait_window "Cannot open macro"
e2e_check "... naming it" grep -qF 'junk.kmc' <<<"$(e2e_texts "Cannot open macro")"
e2e_key Return
# Save during a recording stops it first and leaves out the click on Save.
e2e_click $RECORD_X $RECORD_Y && e2e_wait_text 2001 Stop && e2e_key a && click_save
e2e_check "Save stops the recording" e2e_wait_text 2001 Record
e2e_wait_window "Overwrite existing macro?" && e2e_key y
e2e_check "and saves it without the click (got $(tr '\r\n' '  ' <"$E2E_DATA/Round Trip.kmc"))" e2e_poll 5 eval \
    'grep -q "^EV 3 .* 1048641.$" "$E2E_DATA/Round Trip.kmc" && ! grep -q "^EV 1 " "$E2E_DATA/Round Trip.kmc"'
e2e_replace_text 170 119 Blocked && click_save
e2e_wait_window "Overwrite existing macro?" && e2e_key y
e2e_check "a failed save says so" e2e_wait_window "Save failed"
e2e_check "... naming the file" grep -qF 'C:\KorvaMacro\Data\Blocked.kmc' <<<"$(e2e_texts "Save failed")"
e2e_key Return
start_with
e2e_check "a second start without a path ends" e2e_poll 20 ended $!
# Loop, play hotkey the middle button: a replayed middle click, then the right button held a while.
e2e_write_macro held.kmc "PLAYMODE 1" "PLAY_HOTKEY 2 16" "SPEED 1" "MACRO_COUNT 4" "EV 1 10 0 0 16 0" \
    "EV 2 10 0 0 32 0" "EV 1 10 0 0 8 0" "EV 0 4000 0 0 0 0"
e2e_check "the Open dialog takes held.kmc" load held.kmc
e2e_click $PLAY_X $PLAY_Y
e2e_check "the right button is held by the playback" e2e_poll 5 e2e_probe down 2
sleep 1
e2e_check "a replayed middle click does not stop its playback" test "$(e2e_control_text 2003)" = Stop
e2e_close_expecting_exit_0 "closing during a playback"
e2e_check "and no button stays held" e2e_poll 3 eval '! e2e_probe down 2'
start_with 'C:\nowhere\missing.kmc'
APP_PID=$!
e2e_check "a missing file on the command line is reported" e2e_wait_window "Cannot open macro"
e2e_key Return
e2e_check "and the program starts empty, with its main window" \
    e2e_poll 5 eval 'e2e_exists KorvaMacro && has_rows ""'
e2e_close_expecting_exit_0
