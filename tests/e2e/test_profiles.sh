#!/usr/bin/env bash
# Profiles: three macros mapped to slots, trigger and scroll keys captured, the profile saved,
# cleared and loaded back through the real dialogs; then the keys switch and step through the slots
# while notepad has the focus: the list, the labels and the overlay follow; notepad gets no key.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_write_key_macro alpha.kmc 65 66
e2e_write_key_macro beta.kmc 80 81 82 83
e2e_write_key_macro gamma.kmc 67 67 67
e2e_start_app
ALPHA_ROWS="0: Key vk=0x41  delay=25 ms|1: Key vk=0x42  delay=25 ms|"
names() { echo "$(e2e_control_text 7100 Profiles)|$(e2e_control_text 7101 Profiles)|$(e2e_control_text 7102 Profiles)"; }
overlay_profile() { e2e_child_text 1 Eye; }
# Waits until the overlay and the main window both show $1 and the list holds $2 rows.
shows() { [ "$(overlay_profile)" = "$1" ] && [ "$(e2e_profile_label)" = "$1" ] && [ "$(e2e_list | wc -l)" = "$2" ]; }
expect() { e2e_check "$3 shows $1 with $2 rows (overlay '$(overlay_profile)', $(e2e_list | wc -l) rows)" e2e_poll 5 shows "$1" "$2"; }
e2e_click $((335 + 12)) $((187 + 10))
e2e_check "the eye button opens the overlay" e2e_wait_window Eye
e2e_click $((425 + 27)) $((15 + 10))
e2e_check "the Profile button opens the Profiles window" e2e_wait_window Profiles
sleep 0.5
e2e_map_slot 0 alpha.kmc F6
e2e_check "picking alpha.kmc names slot 1 and loads it (main label $(e2e_profile_label), rows $(e2e_rows))" \
    test "$(e2e_control_text 7100 Profiles)|$(e2e_profile_label)|$(e2e_rows)" = "alpha|P1 - alpha|$ALPHA_ROWS"
e2e_map_slot 1 beta.kmc F7
e2e_map_slot 2 gamma.kmc F9
# The scroll keys: Page Up steps back, Page Down steps on.
e2e_click $((190 + 12)) $((250 + 11)) 1 Profiles
e2e_key Prior
e2e_click $((215 + 12)) $((250 + 11)) 1 Profiles
e2e_key Next
saved="$E2E_DRIVE_C/KorvaMacro/Profile_Save/e2e_profile.kpf"
e2e_click $((75 + 22)) $((240 + 12)) 1 Profiles
e2e_answer_dialog "Save As" e2e_profile
e2e_check "Save wrote e2e_profile.kpf" test -f "$saved"
e2e_click $((20 + 22)) $((240 + 12)) 1 Profiles
e2e_wait_window "Clear profile slots" && e2e_key y
e2e_check "Clear empties the slot names and shows Profile: None" test "$(names)|$(e2e_profile_label)" = "|||Profile: None"
e2e_click $((130 + 22)) $((240 + 12)) 1 Profiles
e2e_answer_dialog Open e2e_profile.kpf
e2e_check "loading brings back the slots, named after their files (got $(names))" test "$(names)" = "alpha|beta|gamma"
e2e_key F6
e2e_check "the loaded trigger F6 switches to alpha again" e2e_poll 5 shows "P1 - alpha" 2
e2e_click $((270 + 37)) $((250 + 15)) 1 Profiles # OK
e2e_wait_gone Profiles
# A trigger pressed while recording is recorded and switches nothing (F11 records: the overlay
# covers the Record button).
e2e_set_hotkey $RECORD_EDIT_X $RECORD_EDIT_Y F11
e2e_key F11
e2e_check "the record hotkey starts recording" e2e_wait_text 2001 Stop
e2e_move_by 40 20
e2e_key F7
e2e_move_by 40 20
e2e_key F11
recorded_keys() { echo "$(e2e_profile_label)|$(e2e_list | grep -o 'Key down vk=[^ ]*' | tr '\n' ' ')"; }
e2e_check "the trigger is recorded, not switched to (got $(recorded_keys))" test "$(recorded_keys)" = "P1 - alpha|Key down vk=0x76 "
before=$(e2e_list)
e2e_click $((425 + 27)) $((15 + 10))
e2e_wait_window Profiles && sleep 0.5
e2e_probe close Profiles >/dev/null
e2e_wait_gone Profiles
e2e_check "closing the unchanged Profiles window keeps the recording" test "$(e2e_list)" = "$before"
e2e_check "notepad starts" e2e_start_notepad
e2e_click 100 80 1 "$NOTEPAD_TITLE"
e2e_type "x"
e2e_check "notepad has the focus and takes typing" e2e_poll 5 e2e_notepad_shows x
while IFS='|' read -r -u 3 key label count what; do
    e2e_key "$key"
    expect "$label" "$count" "$key ($what)"
done 3<<'EOF'
F9|P3 - gamma|3|its trigger
Next|P1 - alpha|2|wrapping from the last slot
Prior|P3 - gamma|3|wrapping from the first slot
F7|P2 - beta|4|its trigger
EOF
e2e_check "the output box shows the loaded macro's name" test "$(e2e_output_text)" = "beta"
e2e_check "no switching key reached notepad (text '$(e2e_notepad_text)')" test "$(e2e_notepad_text)" = "x"
overlay_switch() { [ "$(e2e_child_text 4 Eye)" = "$1" ]; }
e2e_key F4
e2e_check "F4 writes OFF into the overlay's switch label" e2e_poll 5 overlay_switch OFF
e2e_close_expecting_exit_0
