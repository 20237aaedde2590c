#!/usr/bin/env bash
# The program's own input never drives it: the record hotkey (the middle button) is not recorded,
# the Record button's stopping click is not recorded, a replayed middle click is no play hotkey,
# no recording starts during a playback, a profile key pressed while recording is recorded without
# switching, closing the Profiles window keeps the recording, and closing the program while a
# playback holds the right button releases it and ends with code 0.
source "$(dirname "$0")/harness.sh"
e2e_setup
# Once, play hotkey middle button: a middle click, then a long wait. Loop: a right press, then a wait.
macro() {
    printf 'KORVAMACRO_V1\r\nPLAYMODE %s\r\nRECORD_HOTKEY 0 0\r\nPLAY_HOTKEY 2 16\r\nSPEED 1\r\nMACRO_COUNT 3\r\n' "$2"
    printf 'EV 1 10 0 0 %s 0\r\nEV 2 10 0 0 %s 0\r\nEV 0 4000 0 0 0 0\r\n' "$3" "$4"
}
mkdir -p "$E2E_DRIVE_C/KorvaMacro/Data"
macro mid 0 16 32 >"$E2E_DRIVE_C/KorvaMacro/Data/mid.kmc"
macro right 1 8 0 >"$E2E_DRIVE_C/KorvaMacro/Data/right.kmc"
e2e_start_app
rows() { e2e_list | grep -c "$1"; }
record_text() { e2e_control_text 2001; }

e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
xdotool click 2
e2e_check "the middle button is the record hotkey" e2e_wait_text 3001 "Mouse button"
e2e_click 150 38
xdotool click 2
e2e_move_by 40 20
xdotool click 2
sleep 0.5
e2e_check "the record hotkey's button is not recorded ($(rows btn=) button rows)" test "$(rows btn=)" = 0
e2e_check "the moves between are recorded" test "$(rows Move)" -gt 0

e2e_click $RECORD_X $RECORD_Y
e2e_move_by 40 20
e2e_click $RECORD_X $RECORD_Y
e2e_check "the Record button's stopping click is not recorded ($(rows btn=) button rows)" test "$(rows btn=)" = 0

e2e_load_macro 'C:\KorvaMacro\Data\mid.kmc'
e2e_click $PLAY_X $PLAY_Y
sleep 1
e2e_check "a replayed middle click does not stop its playback" test "$(e2e_control_text 2003)" = Stop
e2e_click $RECORD_X $RECORD_Y
e2e_check "no recording starts during a playback" test "$(record_text)" = Record
e2e_check "the playback ends" e2e_wait_text 2003 Play

e2e_click $((425 + 27)) $((15 + 10))
e2e_wait_window Profiles && sleep 0.5
e2e_map_slot 0 mid.kmc F9
e2e_click $((270 + 37)) $((250 + 15)) 1 Profiles
e2e_wait_gone Profiles
e2e_click $RECORD_X $RECORD_Y
e2e_move_by 40 20
e2e_key F9
e2e_move_by 40 20
e2e_click $RECORD_X $RECORD_Y
e2e_check "the trigger key is recorded ($(rows 'Key vk=0x78') rows)" test "$(rows 'Key vk=0x78')" = 1
e2e_check "the recording is not replaced by the slot's macro" test "$(rows btn=)" = 0
before=$(e2e_list | md5sum)
e2e_click $((425 + 27)) $((15 + 10))
e2e_wait_window Profiles && sleep 0.5
e2e_probe close Profiles >/dev/null
e2e_wait_gone Profiles
e2e_check "closing the unchanged Profiles window keeps the recording" test "$(e2e_list | md5sum)" = "$before"

e2e_load_macro 'C:\KorvaMacro\Data\right.kmc'
e2e_click $PLAY_X $PLAY_Y
e2e_check "the right button is held by the playback" e2e_poll 5 e2e_probe down 2
e2e_close_app
e2e_wait_exit
e2e_check "closing during a playback ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = 0
e2e_check "and no button stays held" e2e_poll 3 eval '! e2e_probe down 2'
