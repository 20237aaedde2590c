#!/usr/bin/env bash
# Playback end to end: a short movement and a click recorded from real input after pressing
# "Record", replayed with "Play" so that the cursor moves by the recorded amount; then Loop in
# LockMouse started and stopped with the play hotkey, and the cursor free again afterwards.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

# Client coordinates from the main window's control table.
RECORD_X=340 # "Record" at 300,65, 80x26
RECORD_Y=78
PLAY_X=340 # "Play" at 300,105, 80x26
PLAY_Y=118
RECORD_EDIT_X=440 # record hotkey edit at 390,65, 100x22
RECORD_EDIT_Y=76
PLAY_EDIT_X=440 # play hotkey edit at 390,105, 100x22
PLAY_EDIT_Y=116
LOOP_X=575 # "Loop" at 565,87
LOOP_Y=97
LOCK_X=545 # "LockMouse" at 535,191
LOCK_Y=201
# The recorded movement ends below the window, where the click lands on the bare desktop, and
# so does every replay of it started from the "Play" button.
MOVE_X=360
MOVE_Y=300

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

# "Play" in Once and FreeMouse: the cursor goes the recorded way from the button.
xdotool mousemove --sync $((ox + PLAY_X)) $((oy + PLAY_Y))
read -r start_x start_y < <(e2e_cursor)
xdotool click 1
e2e_check "the Play button returns to \"Play\" when the macro has run" wait_text 2003 Play
read -r end_x end_y < <(e2e_cursor)
e2e_check "the cursor moved by the recorded amount: from ($start_x, $start_y) to ($end_x, $end_y)" \
    test "$((end_x - start_x)) $((end_y - start_y))" = "$sum_x $sum_y"

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
e2e_check "the locked cursor stayed on the replayed path" \
    test "$loop_x" -ge "$start_x" -a "$loop_x" -le "$((start_x + sum_x))" -a \
    "$loop_y" -ge "$start_y" -a "$loop_y" -le "$((start_y + sum_y))"
xdotool mousemove --sync 100 100
e2e_check "the cursor is free again after the loop (got $(e2e_cursor))" test "$(e2e_cursor)" = "100 100"

e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
