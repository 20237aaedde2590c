#!/usr/bin/env bash
# Profiles end to end: two saved macros mapped to two slots through the real picker, trigger keys
# captured and pressed with xdotool, the event list following the keys, then the profile saved,
# cleared and loaded back through the real Save and Open dialogs.
source "$(dirname "$0")/harness.sh"
e2e_setup

e2e_write_key_macro alpha.kmc 65 66
e2e_write_key_macro beta.kmc 80 81 82 83

e2e_start_app

list_text() { e2e_list | tr '\n' '|'; }
# The loaded macro is checked through the event list rows; in a tree whose event list is still the
# empty placeholder the switches are checked through the profile label alone.
if grep -q LB_ADDSTRING "$KORVA_ROOT/macro/EventList_win.cpp"; then
    check_rows() { e2e_check "$1 (rows: $(list_text))" test "$(list_text)" = "$2"; }
else
    e2e_log "event list rows not built yet: row checks skipped"
    check_rows() { :; }
fi
name_of_slot() { e2e_control_text $((7100 + $1)) Profiles; }

alpha_rows="0: Key vk=0x41  delay=25 ms|1: Key vk=0x42  delay=25 ms|"
beta_rows="0: Key vk=0x50  delay=25 ms|1: Key vk=0x51  delay=25 ms|2: Key vk=0x52  delay=25 ms|3: Key vk=0x53  delay=25 ms|"

e2e_click $((425 + 27)) $((15 + 10))
e2e_check "the Profile button opens the Profiles window" e2e_wait_window Profiles
sleep 0.5
e2e_check "slot 1 starts with the default name P1" test "$(name_of_slot 0)" = "P1"

e2e_map_slot 0 alpha.kmc F6
e2e_check "picking alpha.kmc names slot 1 alpha (got $(name_of_slot 0))" test "$(name_of_slot 0)" = "alpha"
e2e_check "the main window shows P1 - alpha (got $(e2e_profile_label))" test "$(e2e_profile_label)" = "P1 - alpha"
check_rows "picking the macro loaded it into the event list" "$alpha_rows"

e2e_map_slot 1 beta.kmc F7
e2e_check "picking beta.kmc names slot 2 beta (got $(name_of_slot 1))" test "$(name_of_slot 1)" = "beta"
check_rows "the event list shows beta" "$beta_rows"

# Back in the main window: the trigger keys switch wherever the focus is.
e2e_click 200 330
e2e_key F6
e2e_check "F6 loads alpha: the output box shows its name (got $(e2e_output_text))" test "$(e2e_output_text)" = "alpha"
check_rows "F6 loads alpha" "$alpha_rows"
e2e_check "the main window shows P1 - alpha after F6 (got $(e2e_profile_label))" test "$(e2e_profile_label)" = "P1 - alpha"
e2e_key F7
e2e_check "F7 loads beta: the output box shows its name (got $(e2e_output_text))" test "$(e2e_output_text)" = "beta"
check_rows "F7 loads beta" "$beta_rows"
e2e_check "the main window shows P2 - beta after F7 (got $(e2e_profile_label))" test "$(e2e_profile_label)" = "P2 - beta"

saved="$E2E_DRIVE_C/KorvaMacro/Profile_Save/e2e_profile.kpf"
e2e_click $((75 + 22)) $((240 + 12)) 1 Profiles
e2e_answer_dialog "Save As" e2e_profile
e2e_check "Save wrote e2e_profile.kpf" test -f "$saved"
line() { sed -n "${1}p" "$saved" | tr -d '\r'; }
e2e_check "the file starts with the version 3 magic" test "$(line 1)" = "KORVAPROFILE_V3"
e2e_check "slot 1 line (got '$(line 3)')" test "$(line 3)" = "P 0 1 1 117 alpha"
e2e_check "slot 1 path (got '$(line 4)')" test "$(line 4)" = 'MAP 0 C:\KorvaMacro\Data\alpha.kmc'
e2e_check "slot 2 line (got '$(line 5)')" test "$(line 5)" = "P 1 1 1 118 beta"
e2e_check "every line ends in CR LF" test "$(grep -c $'\r$' "$saved")" = "24"

e2e_click $((20 + 22)) $((240 + 12)) 1 Profiles
e2e_check "Clear empties the slot names" test "$(name_of_slot 0)|$(name_of_slot 1)" = "|"
e2e_check "Clear shows Profile: None (got $(e2e_profile_label))" test "$(e2e_profile_label)" = "Profile: None"
e2e_key F6
e2e_check "after Clear F6 switches nothing" test "$(e2e_profile_label)" = "Profile: None"

e2e_click $((130 + 22)) $((240 + 12)) 1 Profiles
e2e_answer_dialog Open e2e_profile.kpf
e2e_check "loading brings back alpha and beta (got $(name_of_slot 0)|$(name_of_slot 1))" \
    test "$(name_of_slot 0)|$(name_of_slot 1)" = "alpha|beta"
e2e_key F6
e2e_check "the loaded trigger F6 switches to alpha again (got $(e2e_profile_label))" test "$(e2e_profile_label)" = "P1 - alpha"
check_rows "the loaded trigger F6 loads alpha again" "$alpha_rows"

e2e_screenshot profiles >/dev/null
e2e_close_app
e2e_wait_exit
e2e_check "the program ends cleanly (code $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
