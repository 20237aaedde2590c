#!/usr/bin/env bash
# Typing with Shift and Ctrl shortcuts into notepad while recording: each shifted character and
# shortcut is one row that names its modifier, and the replay types the same text and copies and
# pastes it again with Ctrl+A, Ctrl+C and Ctrl+V. The record hotkey is not recorded, nor the
# modifier held with it.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
e2e_key F6
e2e_click $PLAY_EDIT_X $PLAY_EDIT_Y
e2e_key F7
e2e_check "notepad starts" e2e_start_notepad
e2e_click 100 80 1 "$NOTEPAD_TITLE"
notepad_shows() { [ "$(e2e_notepad_text)" = "$1" ]; }

e2e_key F6
e2e_check "the record hotkey starts recording" e2e_wait_text 2001 Stop
e2e_type "Hi A!"
e2e_key ctrl+a ctrl+c End ctrl+v
e2e_key ctrl+F6 # the Ctrl held with the record hotkey is not recorded either
e2e_check "the record hotkey stops recording" e2e_wait_text 2001 Record
e2e_check "notepad took the typing" e2e_poll 5 notepad_shows "Hi A!Hi A!"
rows=$(e2e_list | sed -E 's/^[0-9]+: //; s/  delay=.*//')
e2e_check "one row per character and shortcut, with its modifier (got $(tr '\n' '|' <<<"$rows"))" test "$rows" = \
    "$(printf 'Key vk=0x%s\n' '48 Shift' 49 20 '41 Shift' '31 Shift' '41 Ctrl' '43 Ctrl' 23 '56 Ctrl')"

e2e_key ctrl+a Delete
e2e_check "notepad is empty before the replay" notepad_shows ""
e2e_key F7
e2e_check "the playback ends" e2e_wait_text 2003 Play
e2e_check "the replay types the same text and its shortcuts act (got '$(e2e_notepad_text)')" \
    e2e_poll 5 notepad_shows "Hi A!Hi A!"
