#!/usr/bin/env bash
# Start-up and shutdown: the window, its size, the folder tree, the dark look, a clean exit.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

geometry=$(e2e_probe rect KorvaMacro | tr ' ' x)
e2e_check "window titled KorvaMacro exists" test -n "$APP_WID"
e2e_check "outer size is 650x362 (got $geometry)" test "$geometry" = "650x362"
for folder in KorvaMacro KorvaMacro/Data KorvaMacro/Profile_Save; do
    e2e_check "folder C:\\${folder//\//\\} exists" test -d "$E2E_DRIVE_C/$folder"
done

shot=$(e2e_screenshot main)
read -r ox oy < <(e2e_origin)
background=$(e2e_pixel "$shot" $((ox + 200)) $((oy + 320)))
record_face=$(e2e_pixel "$shot" $((ox + 303)) $((oy + 68)))
e2e_check "background is 6,8,10 (got $background)" test "$background" = "6,8,10"
e2e_check "Record button face is 18,20,24 (got $record_face)" test "$record_face" = "18,20,24"
e2e_check "speed edit shows 0.600" test "$(e2e_control_text 5005)" = "0.600"

e2e_close_app
e2e_wait_exit
e2e_check "closing the window ends the process with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
