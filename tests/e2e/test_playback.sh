#!/usr/bin/env bash
# Playback end to end: a short movement and a click recorded from real input after pressing
# "Record", a delay set through the event list, then replayed with "Play" so that the cursor
# moves by the recorded amount (LockMouse, FreeMouse, CenterMouse); Loop started and stopped
# with the play hotkey, the cursor free again afterwards; Hold playing while the key is down.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

# Client coordinates from the main window's control table.
ONCE_X=575 # "Once" at 565,64
ONCE_Y=74
FREE_X=545 # "FreeMouse" at 535,145
FREE_Y=155
CENTER_X=545 # "CenterMouse" at 535,168
CENTER_Y=178
# The recorded movement ends on the event list, where a click only selects a row, and so does
# every replay of it started from the "Play" button. The pointer stays over the window, so that
# the keys reach the program.
MOVE_X=-192
MOVE_Y=144

# Waits up to about 10 s for the text of a control.
wait_text() {
    for _ in $(seq 1 50); do
        [ "$(e2e_control_text "$1")" = "$2" ] && return 0
        sleep 0.2
    done
    return 1
}

read -r ox oy < <(e2e_origin)
e2e_log "client origin $ox $oy"

e2e_click $PLAY_X $PLAY_Y
sleep 0.3
e2e_check "\"Play\" with an empty macro does nothing" test "$(e2e_control_text 2003)" = "Play"

# The recording is stopped with the record hotkey, since a click on "Record" would be recorded
# and replayed with the rest.
e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
e2e_key F6
e2e_click $PLAY_EDIT_X $PLAY_EDIT_Y
e2e_key F7
e2e_check "F6 and F7 are the record and play hotkeys" \
    test "$(e2e_control_text 3001)/$(e2e_control_text 3002)" = "F6/F7"

e2e_click $RECORD_X $RECORD_Y
e2e_check "\"Record\" starts recording" test "$(e2e_control_text 2001)" = "Stop"
e2e_move_by $MOVE_X $MOVE_Y 12
xdotool click 1
sleep 0.3
e2e_key F6
e2e_check "the record hotkey stops it" test "$(e2e_control_text 2001)" = "Record"

rows=$(e2e_list)
read -r sum_x sum_y < <(sed -nE 's/^[0-9]+: Move dx=(-?[0-9]+) dy=(-?[0-9]+) .*/\1 \2/p' <<<"$rows" |
    awk '{ x += $1; y += $2 } END { print x + 0, y + 0 }')
e2e_log "recorded $(grep -c . <<<"$rows") rows, movement ($sum_x, $sum_y)"
e2e_check "the recorded movement is the one made ($MOVE_X, $MOVE_Y), got ($sum_x, $sum_y)" \
    test "$sum_x $sum_y" = "$MOVE_X $MOVE_Y"
e2e_check "the click is recorded" grep -qE '^[0-9]+: Mouse down btn=1 ' <<<"$rows"

# The first row gets a delay of half a second through the list: select it, type, "Set".
e2e_click 140 159
e2e_check "selecting the first row shows its delay (got $(e2e_control_text 5003))" \
    test "$(e2e_control_text 5003)" = "0.000"
e2e_click 355 251
e2e_key End BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace
e2e_type 0.5
e2e_click 418 251
first_row=$(e2e_list | head -1)
e2e_check "\"Set\" gives the first row 500 ms (got \"$first_row\")" grep -qE '^0: .*  delay=500 ms$' <<<"$first_row"

# "Play" in Once and LockMouse: the confined cursor is carried the recorded way from the button.
e2e_click $LOCK_X $LOCK_Y
xdotool mousemove --sync $((ox + PLAY_X)) $((oy + PLAY_Y))
read -r start_x start_y < <(e2e_cursor)
xdotool click 1
e2e_check "the Play button returns to \"Play\" when the macro has run" wait_text 2003 Play
read -r end_x end_y < <(e2e_cursor)
e2e_check "LockMouse moved the cursor by the recorded amount: from ($start_x, $start_y) to ($end_x, $end_y)" \
    test "$((end_x - start_x)) $((end_y - start_y))" = "$sum_x $sum_y"

# FreeMouse sends the same way as relative input. Wine feeds the pointer warps of its own back
# as absolute motion while the pointer is over its window, so a burst of small relative steps
# loses part of its way there (from nothing to more than half in our runs); the check asks for
# the direction, at least a quarter of the way, and never more than the way.
e2e_click $FREE_X $FREE_Y
xdotool mousemove --sync $((ox + PLAY_X)) $((oy + PLAY_Y))
xdotool click 1
e2e_check "FreeMouse playback ends" wait_text 2003 Play
read -r end_x end_y < <(e2e_cursor)
part_of_way() { # part_of_way MOVED RECORDED
    [ "$(($1 * $2))" -ge "$(($2 * $2 / 4))" ] && [ "$(($1 * $2))" -le "$(($2 * $2 + 2 * ${2#-}))" ]
}
e2e_check "FreeMouse moved the cursor the recorded way: ($((end_x - start_x)), $((end_y - start_y)))" \
    part_of_way "$((end_x - start_x))" "$sum_x"
e2e_check "... on both axes" part_of_way "$((end_y - start_y))" "$sum_y"

# Loop in LockMouse with the play hotkey: every pass starts again from the start point.
e2e_click $LOOP_X $LOOP_Y
e2e_click $LOCK_X $LOCK_Y
xdotool mousemove --sync $((ox + PLAY_X)) $((oy + PLAY_Y))
e2e_key F7
e2e_check "the play hotkey starts playback (button reads $(e2e_control_text 2003))" \
    test "$(e2e_control_text 2003)" = "Stop"
sleep 2
e2e_check "Loop keeps playing after several passes" test "$(e2e_control_text 2003)" = "Stop"
e2e_key F7
e2e_check "the play hotkey stops the loop and the button returns to \"Play\"" wait_text 2003 Play
read -r loop_x loop_y < <(e2e_cursor)
e2e_log "cursor after the loop: $loop_x $loop_y"
# within V A B: V lies between A and B.
within() { [ "$1" -ge "$(($2 < $3 ? $2 : $3))" ] && [ "$1" -le "$(($2 > $3 ? $2 : $3))" ]; }
on_path() {
    within "$loop_x" "$start_x" "$((start_x + sum_x))" && within "$loop_y" "$start_y" "$((start_y + sum_y))"
}
e2e_check "the locked cursor stayed on the replayed path" on_path
xdotool mousemove --sync 100 100
e2e_check "the cursor is free again after the loop (got $(e2e_cursor))" test "$(e2e_cursor)" = "100 100"

# Hold: playback runs while the play hotkey is held down and ends when it is let go.
e2e_click $HOLD_X $HOLD_Y
xdotool mousemove --sync $((ox + PLAY_X)) $((oy + PLAY_Y))
xdotool keydown F7
sleep 1.5
e2e_check "holding the play hotkey plays (button reads $(e2e_control_text 2003))" \
    test "$(e2e_control_text 2003)" = "Stop"
xdotool keyup F7
e2e_check "letting the play hotkey go ends playback" wait_text 2003 Play

# CenterMouse: the replay starts from the centre of the screen, wherever the cursor was.
e2e_click $ONCE_X $ONCE_Y
e2e_click $CENTER_X $CENTER_Y
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
e2e_click $PLAY_X $PLAY_Y
e2e_check "CenterMouse playback ends" wait_text 2003 Play
e2e_check "CenterMouse moved the cursor by the recorded amount from the centre (got $(e2e_cursor))" \
    test "$(e2e_cursor)" = "$((screen_w / 2 + sum_x)) $((screen_h / 2 + sum_y))"

e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
