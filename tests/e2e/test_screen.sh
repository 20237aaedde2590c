#!/usr/bin/env bash
# ScreenMouse as a desktop user meets it: five clicks on five words of notepad, recorded between two
# clicks on "Record" and replayed with "Play" (which starts 40 pixels below the recording's start),
# land on the pixels where they were made: the cursor at each replayed press, seen by the probe's
# mouse hook. The saved file keeps the mode and the start; a macro recorded on a monitor that is
# gone clicks on the nearest pixel of the screen, and the status line says so.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app
e2e_check "notepad starts" e2e_start_notepad
# Below the main window, which it would cover; a move made while Wine still maps it is lost.
below() {
    xdotool search --name "^$NOTEPAD_TITLE\$" windowmove %@ 100 420 >/dev/null 2>&1
    sleep 0.5
    read -r nx ny < <(e2e_origin "$NOTEPAD_TITLE")
    [ "$ny" -ge 420 ]
}
e2e_check "notepad moves below the main window" e2e_poll 10 below
xdotool mousemove --sync $((nx + 300)) $((ny + 300)) click 1
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
e2e_click 507 25 # "Save"
e2e_check "the saved file keeps ScreenMouse and where the recording started" e2e_poll 5 grep -qzE \
    $'MOUSEMODE 3\r\nSTART_POS [0-9]+ [0-9]+\r\nMASTER' "$E2E_DRIVE_C/KorvaMacro/Data/Virtual Mouse 1.kmc"
e2e_write_macro Off.kmc "MOUSEMODE 3" "START_POS -900 5000" "SPEED 1" "MACRO_COUNT 1" "EV 1 50 9999 -7 1 $((0x200000))"
e2e_check "\"Add\" loads a macro recorded on a monitor that is gone" e2e_load_macro 'C:\KorvaMacro\Data\Off.kmc'
read -r screen_w _ < <(xdotool getdisplaygeometry)
replayed=$(replay 1)
e2e_check "its click is made on the nearest pixel of the screen (got $replayed)" test "$replayed" = "$((screen_w - 1)) 0"
e2e_check "the status line says so" e2e_poll 5 eval 'e2e_texts | grep -q "outside every monitor"'
e2e_screenshot end >/dev/null
e2e_close_expecting_exit_0
