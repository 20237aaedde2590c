#!/usr/bin/env bash
# Play modes and the switches around them: CenterMouse, Loop and Hold with a keyboard and a mouse
# button play hotkey, F4 and F8, held switch keys acting once, the program's own clicks left out of
# a recording and the path editor on it, a Loop that never waits and must not starve the program.
# States are read from the button texts, the labels and the cursor (LockMouse keeps it on the path).
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app
HOLD_OFF_EDIT_X=415 HOLD_OFF_EDIT_Y=165 # hold-off hotkey edit at 385,155, 60x20
CENTER_X=545 CENTER_Y=170
MASTER_LABEL=4 # the switch label has no ID: by its place in the control table
# Every replay starts on the empty strip at the bottom of the window and runs 100 pixels to the
# right and back, so that the locked cursor stays over the window (keys reach Wine only there)
# and a mouse-button hotkey pressed on it hits nothing.
START_X=440 START_Y=325 PATH_LENGTH=100
# One pass: 25 steps of 4 to the right and 25 back, 20 ms apart, about a second at speed 1; and a
# quick flick there and back without a wait, LockMouse, Loop, F7.
pass=()
for _ in $(seq 1 25); do pass=("EV 0 20 4 0 0 0" "${pass[@]}" "EV 0 20 -4 0 0 0"); done
e2e_write_macro Modes.kmc "OUTPUT Modes" "SPEED 1" "MACRO_COUNT 50" "${pass[@]}"
e2e_write_macro Flick.kmc "PLAYMODE 1" "MOUSEMODE 2" "OUTPUT Flick" "PLAY_HOTKEY 1 118" "SPEED 0.6" "MACRO_COUNT 2" \
    "EV 0 0 40 0 0 0" "EV 0 0 -40 0 0 0"
has_label() { [ "$(e2e_child_text "$1")" = "$2" ]; }
wait_label() { e2e_poll 5 has_label "$@"; }
to_start() { xdotool mousemove --sync $((ox + START_X)) $((oy + START_Y)); }
# The locked cursor never leaves the replayed path.
on_path() {
    local x y
    read -r x y < <(e2e_cursor)
    [ "$y" -eq $((oy + START_Y)) ] && [ "$x" -ge $((ox + START_X)) ] && [ "$x" -le $((ox + START_X + PATH_LENGTH)) ]
}
# Holds the key past the keyboard's repeat delay: a switch key still acts once.
hold_key() { xdotool keydown "$1" && sleep 1.5 && xdotool keyup "$1"; }
# Something that must not start playback or recording.
stays_idle() { sleep 0.5 && [ "$(e2e_control_text 2003)/$(e2e_control_text 2001)" = "Play/Record" ]; }
# refused WHAT ACTION...: every action (a command) leaves the program idle.
refused() {
    local what=$1 action
    shift
    for action in "$@"; do
        to_start && eval "$action"
        e2e_check "$what: '$action' is refused" stays_idle
    done
}
# plays WHAT START STOP: START begins playback that is still running after more than a pass on the
# locked path, STOP ends it there.
plays() {
    to_start
    eval "$2"
    e2e_check "$1: playback starts" e2e_wait_text 2003 Stop
    sleep 2
    e2e_check "$1: still playing after more than one pass" test "$(e2e_control_text 2003)" = "Stop"
    eval "$3"
    e2e_check "$1: playback stops" e2e_wait_text 2003 Play
    e2e_check "$1: the cursor stopped on the path (at $(e2e_cursor))" on_path
}
read -r ox oy < <(e2e_origin)
e2e_check "\"Add\" loads the seeded macro" e2e_load_macro 'C:\KorvaMacro\Data\Modes.kmc'
# CenterMouse: the replay starts from the centre of the screen, wherever the cursor was.
e2e_click $CENTER_X $CENTER_Y
read -r screen_w screen_h < <(xdotool getdisplaygeometry)
e2e_click $PLAY_X $PLAY_Y
e2e_check "CenterMouse playback ends" e2e_wait_text 2003 Play
e2e_check "CenterMouse ran the path from the centre and back (got $(e2e_cursor))" \
    test "$(e2e_cursor)" = "$((screen_w / 2)) $((screen_h / 2))"
e2e_set_hotkey $RECORD_EDIT_X $RECORD_EDIT_Y F6
e2e_set_hotkey $PLAY_EDIT_X $PLAY_EDIT_Y F7
e2e_set_hotkey $HOLD_OFF_EDIT_X $HOLD_OFF_EDIT_Y F9 # shown with the others after F8 below
e2e_click $LOOP_X $LOOP_Y
e2e_click $LOCK_X $LOCK_Y
to_start
e2e_key F7
e2e_check "Loop: the play hotkey starts playback" e2e_wait_text 2003 Stop
xdotool mousemove_relative -- 60 60 && sleep 0.2
e2e_check "Loop: the locked cursor stays on the path when the mouse moves (at $(e2e_cursor))" on_path
e2e_key F6
e2e_check "Loop: the record hotkey starts no recording during a playback" test "$(e2e_control_text 2001)" = Record
e2e_key F7
e2e_check "Loop: the play hotkey stops playback" e2e_wait_text 2003 Play
xdotool mousemove --sync $((ox + 100)) $((oy + 300))
e2e_check "Loop: the cursor is free after the stop" test "$(e2e_cursor)" = "$((ox + 100)) $((oy + 300))"
e2e_click $HOLD_X $HOLD_Y
plays "Hold with the play hotkey held" "xdotool keydown F7" "xdotool keyup F7"
# F4 held past the keyboard's repeat delay stops a loop and still switches once.
e2e_click $LOOP_X $LOOP_Y
to_start
e2e_key F7
e2e_check "F4: a loop is running" e2e_wait_text 2003 Stop
hold_key F4
e2e_check "F4: switching off stops playback" e2e_wait_text 2003 Play
e2e_check "F4: the master label reads OFF after F4 was held" wait_label $MASTER_LABEL OFF
refused "F4 off" "e2e_key F7" "e2e_key F6" "e2e_click $PLAY_X $PLAY_Y # Play" "e2e_click $RECORD_X $RECORD_Y # Record"
e2e_key alt+F4 # switches back ON without closing the window, or the loop below could not play
plays "F4 with Alt held on again, Loop with the play hotkey" "e2e_key F7" "e2e_key F7"
# The middle mouse button as the play hotkey; the left clicks into the armed box are never taken.
# From then on the mouse hook withholds the middle button from the window under the pointer.
e2e_click $PLAY_EDIT_X $PLAY_EDIT_Y
e2e_click $PLAY_EDIT_X $PLAY_EDIT_Y
e2e_check "a second click into the play hotkey box keeps it armed and starts nothing" \
    test "$(e2e_control_text 3002)/$(e2e_control_text 2003)" = "Press a key/Play"
to_start
xdotool click 2
sleep 0.3
e2e_check "the middle button is captured as the play hotkey (got $(e2e_control_text 3002))" \
    test "$(e2e_control_text 3002)" = "Mouse button"
e2e_check "the capturing click does not start playback" stays_idle
plays "Loop with the middle button" "xdotool click 2" "xdotool click 2"
e2e_click $HOLD_X $HOLD_Y
plays "Hold with the middle button held" "xdotool mousedown 2" "xdotool mouseup 2"
# A record hotkey held while stopping keeps the recording just made (its repeats would otherwise
# start a new, empty recording over it).
to_start
e2e_key F6
e2e_check "the record hotkey starts recording" e2e_wait_text 2001 Stop
e2e_move_by 30 0 3
hold_key F6
e2e_check "the held record hotkey stops the recording" e2e_wait_text 2001 Record
e2e_check "... and the recorded moves stay in the list" \
    test "$(e2e_list | sed -nE 's/^[0-9]+: Move dx=(-?[0-9]+) .*/\1/p' | awk '{ x += $1 } END { print x + 0 }')" = 30
# F8 unbinds the record and play hotkeys; the hold-off key stays.
e2e_key F8
e2e_check "F8: the hotkey edits show None/None/F9" \
    test "$(e2e_control_text 3001)/$(e2e_control_text 3002)/$(e2e_control_text 3101)" = "None/None/F9"
refused "F8" "xdotool click 2" "e2e_key F7" "e2e_key F6"
# The program's own clicks are not recorded: the Record button's stopping click, and the middle
# button as the record hotkey. "Edit" opens the path editor on the recording.
e2e_click $RECORD_X $RECORD_Y
e2e_move_by 40 20
e2e_click $RECORD_X $RECORD_Y
e2e_check "the Record button's stopping click is not recorded" test "$(e2e_list | grep -c btn=)" = 0
e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
xdotool click 2
e2e_check "the middle button is captured as the record hotkey" e2e_wait_text 3001 "Mouse button"
to_start
xdotool click 2
e2e_move_by 150 0 15
e2e_move_by 0 -100 10
xdotool click 2
recorded=$(e2e_list)
e2e_check "the middle button records a corner of Move rows, without button rows ($(grep -c ': Move ' <<<"$recorded"))" \
    test "$(grep -c ': Move ' <<<"$recorded")" -ge 15 -a "$(grep -c btn= <<<"$recorded")" = 0
EDITOR="Mouse Path Editor"
e2e_click 472 214
e2e_check "\"Edit\" opens the path editor" e2e_wait_window "$EDITOR"
e2e_click 315 417 1 "$EDITOR"
e2e_check "\"Close\" closes the editor" e2e_wait_gone "$EDITOR"
e2e_check "\"Add\" loads the flick" e2e_load_macro 'C:\KorvaMacro\Data\Flick.kmc'
# Ten seconds without an answer from the window count as no answer.
answers() { [ "$(E2E_PROBE_SECONDS=10 e2e_control_text 2003)" = "$1" ]; }
for mode in LockMouse FreeMouse; do
    to_start
    e2e_key F7
    e2e_check "zero-wait loop, $mode: the play hotkey starts it" e2e_poll 10 answers Stop
    sleep 2
    e2e_check "zero-wait loop, $mode: the window answers while it plays" answers Stop
    e2e_key F7
    e2e_check "zero-wait loop, $mode: the play hotkey stops it" e2e_poll 10 answers Play
    e2e_click 545 150 # "FreeMouse"
done
e2e_close_expecting_exit_0
