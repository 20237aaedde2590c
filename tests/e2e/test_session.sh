#!/usr/bin/env bash
# A newcomer's first session: choose the mouse, bind the record and play keys, record moves, a
# click and typing, edit the rows (a delay, two deleted rows, the speed), save under a name, quit,
# start again, load the file with "Add" and play it into notepad: the cursor travels the recorded
# way and the typed letters arrive in notepad's text.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

DATA="$E2E_DRIVE_C/KorvaMacro/Data"
# Client coordinates from the main window's control table (centres of the controls).
COMBO_X=170 # device combo at 70,68, 200 wide; its closed field is 20 high
COMBO_Y=78
COMBO_ENTRY_Y=93 # first entry of the opened list, 13 pixels a row
DELAY_EDIT_X=355 # delay edit at 315,240, 80x22; its "Set" at 398,240
DELAY_SET_X=418
SPEED_EDIT_X=536 # speed edit at 496,240, 80x22; its "Set" at 580,240
SPEED_SET_X=600
EDIT_ROW_Y=251
DELETE_X=355 # "Delete" at 315,280, 80x26
DELETE_Y=293
OUTPUT_X=170 # output box at 70,108, 200x22
OUTPUT_Y=119
SAVE_X=507 # "Save" at 490,15, 35x20
SAVE_Y=25
# The event list is at 20,150 with a one-pixel border and rows 18 high.
row_y() { echo $((160 + 18 * $1)); }
ROW_X=140
# The recording starts on the empty strip below the "F8 ..." label and ends on the background
# left of "Profile: None", where a click does nothing.
START_X=430
START_Y=322
MOVE_X=-300
MOVE_Y=-280
TYPED=korva
TYPED_ROWS=$(printf 'Key vk=0x%x\n' 0x4b 0x4f 0x52 0x56 0x41)
NAME="Session Macro"

# The rows without their numbers, renumbered from 0: what the list shows after a delete.
renumber() { sed -E 's/^[0-9]+: //' | awk '{ print NR - 1 ": " $0 }'; }
move_sum() {
    sed -nE 's/^[0-9]+: Move dx=(-?[0-9]+) dy=(-?[0-9]+) .*/\1 \2/p' | awk '{ x += $1; y += $2 } END { print x + 0, y + 0 }'
}
# The events of a macro file written as list rows, so that file and list can be compared.
rows_of_file() {
    tr -d '\r' <"$1" | awk '$1 == "EV" {
        if ($2 == 0) text = "Move dx=" $4 " dy=" $5
        else if ($2 == 1) text = "Mouse down btn=" $6
        else if ($2 == 2) text = "Mouse up btn=" $6
        else if ($2 == 3) text = sprintf("Key vk=0x%x", $7)
        else text = "Event"
        print n++ ": " text "  delay=" $3 " ms"
    }'
}
file_value() { tr -d '\r' <"$1" | awk -v key="$2" '$1 == key { $1 = ""; sub(/^ /, ""); print; exit }'; }
first_line_of() { head -1 "$1" | tr -d '\r'; }

# Device: the combo lists "Any mouse [raw]" and then the mice Wine reports. Picking the second
# entry first (when there is one) shows that the click on the first entry really chooses it.
# (Under this Wine the opened list is not painted in Xvfb, but it takes clicks.)
e2e_click $COMBO_X $COMBO_Y
e2e_click $COMBO_X $((COMBO_ENTRY_Y + 13))
device=$(e2e_control_text 1001)
e2e_log "second combo entry: ${device:-none}"
e2e_click $COMBO_X $COMBO_Y
e2e_click $COMBO_X $COMBO_ENTRY_Y
e2e_check "\"Any mouse [raw]\" is chosen in the device combo (got $(e2e_control_text 1001))" \
    test "$(e2e_control_text 1001)" = "Any mouse [raw]"

e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
e2e_key F6
e2e_click $PLAY_EDIT_X $PLAY_EDIT_Y
e2e_key F7
e2e_check "F6 and F7 are bound as record and play hotkeys (got $(e2e_control_text 3001)/$(e2e_control_text 3002))" \
    test "$(e2e_control_text 3001)/$(e2e_control_text 3002)" = "F6/F7"

read -r ox oy < <(e2e_origin)
xdotool mousemove --sync $((ox + START_X)) $((oy + START_Y))
e2e_key F6
e2e_check "the record hotkey starts recording" e2e_wait_text 2001 Stop
e2e_move_by $MOVE_X $MOVE_Y 20
xdotool click 1
sleep 0.3
e2e_type $TYPED
e2e_key F6
e2e_check "the record hotkey stops recording" e2e_wait_text 2001 Record

rows=$(e2e_list)
e2e_log "recorded $(grep -c . <<<"$rows") rows"
read -r sum_x sum_y < <(move_sum <<<"$rows")
e2e_check "the Move rows add up to the movement made ($MOVE_X, $MOVE_Y), got ($sum_x, $sum_y)" \
    test "$sum_x $sum_y" = "$MOVE_X $MOVE_Y"
e2e_check "the first row has delay 0" grep -qE '^0: Move .*  delay=0 ms$' <<<"$(head -1 <<<"$rows")"
last_move=$(grep -nE '^[0-9]+: Move ' <<<"$rows" | tail -1 | cut -d: -f1)
e2e_check "the click follows the moves as \"Mouse down btn=1\", \"Mouse up btn=2\"" \
    test "$(sed -n "$((last_move + 1)),$((last_move + 2))p" <<<"$rows" | sed -E 's/^[0-9]+: //; s/  delay=.*//')" = \
    "$(printf 'Mouse down btn=1\nMouse up btn=2')"
e2e_check "the typed letters follow as Key rows, and the hotkeys are not among them" \
    test "$(sed -n "$((last_move + 3)),\$p" <<<"$rows" | sed -E 's/^[0-9]+: //; s/  delay=.*//')" = "$TYPED_ROWS"
e2e_check "the first rows are moves (the editing below works on them)" \
    test "$(head -5 <<<"$rows" | grep -c ': Move ')" = 5

# A delay of a quarter second on row 4: select it, type the seconds, "Set".
e2e_click $ROW_X "$(row_y 4)"
e2e_check "selecting row 4 shows its delay in seconds (got $(e2e_control_text 5003))" \
    test "$(e2e_control_text 5003)" = "$(sed -n 5p <<<"$rows" | sed -E 's/.*delay=([0-9]+) ms$/\1/' | awk '{ printf "%.3f", $1 / 1000 }')"
e2e_replace_text $DELAY_EDIT_X $EDIT_ROW_Y 0.25
e2e_click $DELAY_SET_X $EDIT_ROW_Y
rows=$(e2e_list)
e2e_check "\"Set\" gives row 4 a delay of 250 ms (got \"$(sed -n 5p <<<"$rows")\")" \
    grep -qE '^4: Move .*  delay=250 ms$' <<<"$(sed -n 5p <<<"$rows")"

# Rows 1 and 2 ticked, one by a double click, the other by a right click, then "Delete".
xdotool mousemove --sync $((ox + ROW_X)) $((oy + $(row_y 1))) click --repeat 2 --delay 80 1
sleep 0.3
e2e_click $ROW_X "$(row_y 2)" 3
expected=$(sed '2,3d' <<<"$rows" | renumber)
e2e_click $DELETE_X $DELETE_Y
rows=$(e2e_list)
e2e_check "\"Delete\" removes the two ticked rows and renumbers the others" test "$rows" = "$expected"
e2e_check "the delayed row is row 2 now" grep -qE '^2: Move .*  delay=250 ms$' <<<"$(sed -n 3p <<<"$rows")"
read -r sum_x sum_y < <(move_sum <<<"$rows")
e2e_log "movement left in the macro: ($sum_x, $sum_y)"

e2e_replace_text $SPEED_EDIT_X $EDIT_ROW_Y 1
e2e_click $SPEED_SET_X $EDIT_ROW_Y
e2e_check "the speed is set to 1.000 (got $(e2e_control_text 5005))" test "$(e2e_control_text 5005)" = "1.000"
e2e_click $LOCK_X $LOCK_Y

e2e_replace_text $OUTPUT_X $OUTPUT_Y "$NAME"
e2e_check "the output box holds the name (got '$(e2e_output_text)')" test "$(e2e_output_text)" = "$NAME"
e2e_click $SAVE_X $SAVE_Y
FILE="$DATA/$NAME.kmc"
e2e_check "\"Save\" writes '$NAME.kmc'" e2e_poll 5 test -s "$FILE"
saved_rows=$rows
if [ -s "$FILE" ]; then
    e2e_check "the file starts with its magic" test "$(first_line_of "$FILE")" = "KORVAMACRO_V1"
    e2e_check "the file keeps the name, device, hotkeys, mouse mode and speed" test \
        "$(file_value "$FILE" OUTPUT)|$(file_value "$FILE" DEVICEINDEX)|$(file_value "$FILE" RECORD_HOTKEY)|$(file_value "$FILE" PLAY_HOTKEY)|$(file_value "$FILE" MOUSEMODE)|$(file_value "$FILE" SPEED | awk '{ print $1 + 0 }')" = \
        "$NAME|0|1 117|1 118|2|1"
    e2e_check "the file holds the rows of the list ($(file_value "$FILE" MACRO_COUNT) events)" \
        test "$(rows_of_file "$FILE")" = "$saved_rows" -a "$(file_value "$FILE" MACRO_COUNT)" = "$(grep -c . <<<"$saved_rows")"
fi

e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"

# A new start in the same prefix knows nothing of the last session until the file is loaded.
e2e_start_app
e2e_check "the second start shows an empty list" test -z "$(e2e_list)"
e2e_check "the second start shows the default name" test "$(e2e_output_text)" = "Virtual Mouse 1"
e2e_check "\"Add\" loads '$NAME.kmc' through the Open dialog" e2e_load_macro "C:\\KorvaMacro\\Data\\$NAME.kmc"
e2e_check "the loaded macro shows the saved rows" test "$(e2e_list)" = "$saved_rows"
e2e_check "the loaded macro brings back name, hotkeys and speed" \
    test "$(e2e_output_text)|$(e2e_control_text 3001)|$(e2e_control_text 3002)|$(e2e_control_text 5005)" = "$NAME|F6|F7|1.000"
e2e_check "the loaded macro checks LockMouse" grep -qx 2203 <<<"$(e2e_probe checked KorvaMacro)"

# Notepad comes up over the main window. The replay starts from a point of its text area chosen
# so that the whole locked path, and the recorded click at its end, stay inside that area; the
# click only places the caret, and the replayed keys go to notepad, which has the focus.
e2e_check "notepad starts" e2e_start_notepad
read -r nx ny < <(e2e_origin "$NOTEPAD_TITLE")
read -r nw nh < <(e2e_probe client "$NOTEPAD_TITLE")
start_x=$((nx + (sum_x < 0 ? nw - 80 : 80)))
start_y=$((ny + (sum_y < 0 ? nh - 80 : 80)))
xdotool mousemove --sync "$start_x" "$start_y" click 1
sleep 0.5
e2e_check "notepad is empty before the replay" test -z "$(e2e_notepad_text)"
e2e_key F7
e2e_check "the play hotkey starts playback while notepad has the focus" e2e_wait_text 2003 Stop
e2e_check "the playback ends" e2e_wait_text 2003 Play
read -r end_x end_y < <(e2e_cursor)
e2e_check "LockMouse carried the cursor the recorded way ($sum_x, $sum_y): from ($start_x, $start_y) to ($end_x, $end_y)" \
    test "$((end_x - start_x)) $((end_y - start_y))" = "$sum_x $sum_y"
notepad_shows() { [ "$(e2e_notepad_text)" = "$1" ]; }
e2e_check "the typed letters reached notepad" e2e_poll 5 notepad_shows "$TYPED"
e2e_log "notepad's text: '$(e2e_notepad_text)'"
e2e_screenshot end >/dev/null

e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 again (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
