#!/usr/bin/env bash
# A newcomer's session: the first start's look, a recording of moves, a click and typing with
# Ctrl shortcuts, row edits, then the macro played into notepad: the locked cursor travels the
# recorded way and the typed and pasted text arrives (saving and loading is the files scenario's).
# Then ScreenMouse: five clicks on five words of notepad, recorded between two clicks on "Record"
# and replayed with "Play", land on their pixels (the probe's mouse hook sees each replayed press);
# the saved file keeps the mode and the start; a click recorded on a monitor that is gone is made
# on the nearest pixel of the screen, and the status line says so.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app
# Client coordinates from the control table (centres); the event list's rows are 18 high.
SPEED_EDIT_X=536 SPEED_SET_X=600 EDIT_ROW_Y=251
DELETE_X=355 DELETE_Y=293 OUTPUT_X=170 OUTPUT_Y=119 SAVE_X=507 SAVE_Y=25 ROW_X=140
row_y() { echo $((160 + 18 * $1)); }
# The recording starts on the empty strip below the "F8 ..." label and ends on the background
# left of "Profile: None", where a click does nothing.
START_X=430 START_Y=322 MOVE_X=-300 MOVE_Y=-280
# The keys typed, in order, without the modifiers, which are rows of their own.
TYPED_KEYS='48 49 20 41 31 41 43 23 56 '
typed_keys() { sed -nE 's/^Key down vk=0x([0-9a-f]+).*/\1/p' | grep -vE '^a[0-5]$' | tr '\n' ' '; }
NAME="Session Macro"
renumber() { sed -E 's/^[0-9]+: //' | awk '{ print NR - 1 ": " $0 }'; }
bare() { sed -E 's/^[0-9]+: //; s/  delay=.*//'; }
move_sum() {
    sed -nE 's/^[0-9]+: Move dx=(-?[0-9]+) dy=(-?[0-9]+) .*/\1 \2/p' | awk '{ x += $1; y += $2 } END { print x + 0, y + 0 }'
}
shot=$(e2e_screenshot main)
read -r ox oy < <(e2e_origin)
e2e_check "background 6,8,10 and Record button face 18,20,24" test \
    "$(e2e_pixel "$shot" $((ox + 200)) $((oy + 320)))/$(e2e_pixel "$shot" $((ox + 303)) $((oy + 68)))" = "6,8,10/18,20,24"
e2e_set_hotkey $RECORD_EDIT_X $RECORD_EDIT_Y F6
e2e_set_hotkey $PLAY_EDIT_X $PLAY_EDIT_Y F7
xdotool mousemove --sync $((ox + START_X)) $((oy + START_Y))
# Raw movement reaches the coordinate label while it goes on (it drops to 0 after 80 ms of rest).
(for _ in $(seq 1 40); do xdotool mousemove_relative -- 2 1 && sleep 0.02 && xdotool mousemove_relative -- -2 -1; done) &
sleep 0.8
coords=$(e2e_child_text 1)
wait $!
e2e_check "the coordinate label shows raw movement (got \"$coords\")" grep -qE '^X: -?[1-9][0-9]*  Y: -?[0-9]+$' <<<"$coords"
xdotool mousemove --sync $((ox + START_X)) $((oy + START_Y))
e2e_key F6
e2e_check "the record hotkey starts recording" e2e_wait_text 2001 Stop
e2e_move_by $MOVE_X $MOVE_Y 20
xdotool click 1
sleep 0.3
e2e_type "Hi A!"
e2e_key ctrl+a ctrl+c End ctrl+v
e2e_key ctrl+F6 # the Ctrl held with the record hotkey is released at the stop
e2e_check "the record hotkey stops recording" e2e_wait_text 2001 Record
rows=$(e2e_list)
read -r sum_x sum_y < <(move_sum <<<"$rows")
e2e_check "the Move rows add up to the movement made ($MOVE_X, $MOVE_Y), got ($sum_x, $sum_y)" \
    test "$sum_x $sum_y" = "$MOVE_X $MOVE_Y"
at="$((ox + START_X + MOVE_X)),$((oy + START_Y + MOVE_Y))" # where the click was made, on the screen
last_move=$(grep -nE '^[0-9]+: Move ' <<<"$rows" | tail -1 | cut -d: -f1)
after=$(sed -n "$((last_move + 1)),\$p" <<<"$rows" | bare)
e2e_check "the click follows the moves at its place ($at), then the typed keys, each pressed and released, without the hotkeys" \
    test "$(head -2 <<<"$after" | tr '\n' /)|$(typed_keys <<<"$after")|$(grep -c '^Key down' <<<"$after")" = \
    "Mouse down btn=1 at $at/Mouse up btn=2 at $at/|$TYPED_KEYS|$(grep -c '^Key up' <<<"$after")"
# Rows 1 and 2 ticked, one by a double click, the other by a right click, then "Delete".
xdotool mousemove --sync $((ox + ROW_X)) $((oy + $(row_y 1))) click --repeat 2 --delay 80 1
sleep 0.3
e2e_click $ROW_X "$(row_y 2)" 3
expected=$(sed '2,3d' <<<"$rows" | renumber)
e2e_click $DELETE_X $DELETE_Y
rows=$(e2e_list)
e2e_check "\"Delete\" removes the two ticked rows and renumbers the others" test "$rows" = "$expected"
e2e_probe close KorvaMacro >/dev/null
e2e_check "closing with a changed macro asks first" e2e_wait_window "Unsaved macro"
e2e_key Escape
e2e_check "Cancel keeps the program and its macro" e2e_poll 5 eval '[ "$(e2e_list)" = "$expected" ]'

read -r sum_x sum_y < <(move_sum <<<"$rows")
e2e_replace_text $SPEED_EDIT_X $EDIT_ROW_Y 1
e2e_click $SPEED_SET_X $EDIT_ROW_Y
e2e_click $LOCK_X $LOCK_Y
e2e_replace_text $OUTPUT_X $OUTPUT_Y "$NAME"
# The replay starts from a point of notepad's text area chosen so that the whole locked path, and
# the recorded click at its end, stay inside it; the replayed keys go to notepad, which has the focus.
e2e_check "notepad starts" e2e_start_notepad
read -r nx ny < <(e2e_origin "$NOTEPAD_TITLE")
read -r nw nh < <(e2e_probe client "$NOTEPAD_TITLE")
start_x=$((nx + (sum_x < 0 ? nw - 80 : 80)))
start_y=$((ny + (sum_y < 0 ? nh - 80 : 80)))
xdotool mousemove --sync "$start_x" "$start_y" click 1
sleep 0.5
e2e_key F7
e2e_check "the play hotkey starts playback while notepad has the focus" e2e_wait_text 2003 Stop
e2e_check "the playback ends" e2e_wait_text 2003 Play
read -r end_x end_y < <(e2e_cursor)
e2e_check "LockMouse carried the cursor the recorded way ($sum_x, $sum_y): from ($start_x, $start_y) to ($end_x, $end_y)" \
    test "$((end_x - start_x)) $((end_y - start_y))" = "$sum_x $sum_y"
e2e_check "the typed text and its shortcuts reached notepad (got '$(e2e_notepad_text)')" e2e_poll 5 e2e_notepad_shows "Hi A!Hi A!"
# Notepad below the main window, which it would cover; a move made while Wine still maps it is lost.
below() {
    xdotool search --name "^$NOTEPAD_TITLE\$" windowmove %@ 100 420 >/dev/null 2>&1
    sleep 0.5
    read -r nx ny < <(e2e_origin "$NOTEPAD_TITLE")
    [ "$ny" -ge 420 ]
}
e2e_check "notepad moves below the main window" e2e_poll 10 below
xdotool mousemove --sync $((nx + 300)) $((ny + 300)) click 1
e2e_key ctrl+a
e2e_type "alpha beta gamma delta epsilon"
# The middles of the five words: 7 pixels a character from a margin of 8.
clicks=$(for column in 2 8 13 19 26; do echo "$((nx + 11 + column * 7)) $((ny + 10))"; done)
# replay PRESSES: "x y" of the cursor at each press of a replay started with "Play".
replay() {
    e2e_run_probe clicks "$1" 20 2>/dev/null | tr -d '\r' >"$E2E_ARTIFACTS/replayed" &
    sleep 1
    e2e_click $PLAY_X $PLAY_Y
    wait $!
    e2e_wait_text 2003 Play
    cat "$E2E_ARTIFACTS/replayed"
}
e2e_click $SCREEN_X $SCREEN_Y
e2e_click $RECORD_X $RECORD_Y
while read -r x y; do xdotool mousemove --sync "$x" "$y" click 1 sleep 0.3; done <<<"$clicks"
e2e_click $RECORD_X $RECORD_Y
replayed=$(replay 5)
e2e_check "ScreenMouse clicks the five words where they were recorded (got $(echo $replayed))" test "$replayed" = "$clicks"
e2e_click $SAVE_X $SAVE_Y
e2e_check "the saved file keeps ScreenMouse and where the recording started" e2e_poll 5 grep -qzE \
    $'MOUSEMODE 3\r\nSTART_POS [0-9]+ [0-9]+\r\nMASTER' "$E2E_DATA/$NAME.kmc"
e2e_write_macro Off.kmc "MOUSEMODE 3" "START_POS -900 5000" "SPEED 1" "MACRO_COUNT 1" "EV 1 50 9999 -7 1 $((0x200000))"
e2e_check "\"Add\" loads a macro recorded on a monitor that is gone" e2e_load_macro 'C:\KorvaMacro\Data\Off.kmc'
read -r screen_w _ < <(xdotool getdisplaygeometry)
replayed=$(replay 1)
e2e_check "its click is made on the nearest pixel of the screen (got $replayed)" test "$replayed" = "$((screen_w - 1)) 0"
e2e_check "the status line says so" e2e_poll 5 eval 'e2e_texts | grep -q "outside every monitor"'
e2e_close_expecting_exit_0
