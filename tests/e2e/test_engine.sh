#!/usr/bin/env bash
# A Loop whose macro never waits (a quick flick there and back) must not starve the program: in
# LockMouse and in FreeMouse the play hotkey and F4 still stop it and the window still answers.
source "$(dirname "$0")/harness.sh"
e2e_setup
mkdir -p "$E2E_DRIVE_C/KorvaMacro/Data"
{
    printf '%s\r\n' KORVAMACRO_V1 "PLAYMODE 1" "MOUSEMODE 2" "MASTER 1" "DEVICEINDEX 0" "OUTPUT Flick" \
        "RECORD_HOTKEY 0 0" "PLAY_HOTKEY 1 118" "HOLD_OFF_HOTKEY 0 0" "SPEED 0.6" "MACRO_COUNT 2" \
        "EV 0 0 40 0 0 0" "EV 0 0 -40 0 0 0"
} >"$E2E_DRIVE_C/KorvaMacro/Data/Flick.kmc"
e2e_start_app
read -r ox oy < <(e2e_origin)
e2e_check "\"Add\" loads the flick" e2e_load_macro 'C:\KorvaMacro\Data\Flick.kmc'
# The probe's question hangs on a window that does not answer; ten seconds count as no answer.
answers() { [ "$(timeout 10 wine "$E2E_BIN/korva_probe.exe" texts KorvaMacro 2>/dev/null | tr -d '\r' |
    awk '$1 == 2003 { print $3 }')" = "$1" ]; }

for mode in LockMouse FreeMouse; do
    xdotool mousemove --sync $((ox + 440)) $((oy + 325)) # the empty strip at the bottom
    e2e_key F7
    e2e_check "$mode: the play hotkey starts the loop" e2e_poll 10 answers Stop
    sleep 2
    e2e_check "$mode: the window answers while the loop plays" answers Stop
    e2e_key F7
    e2e_check "$mode: the play hotkey stops the loop" e2e_poll 10 answers Play
    e2e_key F7
    e2e_poll 10 answers Stop && sleep 1
    e2e_key F4
    e2e_check "$mode: F4 stops the loop" e2e_poll 10 answers Play
    e2e_key F4
    [ "$mode" = LockMouse ] && e2e_click 545 155 # "FreeMouse"
done
e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
