#!/usr/bin/env bash
# Profile switching while another program has the focus: three macros in three slots, switched
# with their trigger keys and stepped through with the scroll keys while notepad has the focus;
# the overlay follows ("P2 - beta") and the keys never reach notepad.
source "$(dirname "$0")/harness.sh"
e2e_setup

e2e_write_key_macro alpha.kmc 65
e2e_write_key_macro beta.kmc 66 66
e2e_write_key_macro gamma.kmc 67 67 67
e2e_start_app

overlay_profile() { e2e_child_text 1 Eye; }
rows() { e2e_list | wc -l; }
# Waits until the overlay and the main window both show $1 and the list holds $2 rows.
shows() { [ "$(overlay_profile)" = "$1" ] && [ "$(e2e_profile_label)" = "$1" ] && [ "$(rows)" = "$2" ]; }
expect() { e2e_check "$3 shows $1 with $2 rows (overlay '$(overlay_profile)', rows $(rows))" e2e_poll 5 shows "$1" "$2"; }

e2e_click $((335 + 12)) $((187 + 10))
e2e_check "the eye button opens the overlay" e2e_wait_window Eye
e2e_check "the overlay starts with Profile: None" test "$(overlay_profile)" = "Profile: None"

e2e_click $((425 + 27)) $((15 + 10))
e2e_check "the Profile button opens the Profiles window" e2e_wait_window Profiles
sleep 0.5
e2e_map_slot 0 alpha.kmc F6
e2e_map_slot 1 beta.kmc F7
e2e_map_slot 2 gamma.kmc F9
# The scroll keys: Page Up steps back, Page Down steps on.
e2e_click $((190 + 12)) $((250 + 11)) 1 Profiles
e2e_key Prior
e2e_click $((215 + 12)) $((250 + 11)) 1 Profiles
e2e_key Next
e2e_check "the scroll edits show their keys" test -n "$(e2e_control_text 7350 Profiles)" -a \
    "$(e2e_control_text 7350 Profiles)" != "None" -a "$(e2e_control_text 7351 Profiles)" != "None"
expect "P3 - gamma" 3 "picking gamma last"

e2e_check "notepad starts" e2e_start_notepad
e2e_click 100 80 1 "$NOTEPAD_TITLE"
e2e_type "x"
notepad_shows() { [ "$(e2e_notepad_text)" = "$1" ]; }
e2e_check "notepad has the focus and takes typing" e2e_poll 5 notepad_shows x

e2e_key F7
expect "P2 - beta" 2 "F7 while notepad has the focus"
e2e_key F6
expect "P1 - alpha" 1 "F6"
e2e_key F9
expect "P3 - gamma" 3 "F9"
e2e_key Next
expect "P1 - alpha" 1 "Page Down from the last slot wraps and"
e2e_key Next
expect "P2 - beta" 2 "Page Down"
e2e_key Prior
expect "P1 - alpha" 1 "Page Up"
e2e_key Prior
expect "P3 - gamma" 3 "Page Up from the first slot wraps and"
e2e_key F7
expect "P2 - beta" 2 "F7 again"
e2e_check "the output box shows the loaded macro's name" test "$(e2e_output_text)" = "beta"
e2e_check "no switching key reached notepad (text '$(e2e_notepad_text)')" test "$(e2e_notepad_text)" = "x"

e2e_screenshot profile-switching >/dev/null
e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
