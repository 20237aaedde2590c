# End-to-end harness: the real KorvaMacro.exe under Wine on a private Xvfb display in a fresh prefix,
# driven with xdotool, inspected with korva_probe, screenshots and its files; stopped by process id.
# A scenario sources this, calls e2e_setup, counts its checks with e2e_check; the EXIT trap finishes.
set -u
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/common.sh"

E2E_NAME=$(basename "${0%.sh}")
E2E_BIN=${KORVA_BIN:-$KORVA_BUILD/windows}
E2E_ARTIFACTS=${KORVA_ARTIFACTS:-$KORVA_BUILD/artifacts}
E2E_FAILURES=0
E2E_CHECKS=0
APP_PID=""

# Centres of main-window controls, client coordinates from the control table.
RECORD_X=340 RECORD_Y=78         # "Record" at 300,65, 80x26
PLAY_X=340 PLAY_Y=118            # "Play" at 300,105, 80x26
RECORD_EDIT_X=440 RECORD_EDIT_Y=76 # record hotkey edit at 390,65, 100x22
PLAY_EDIT_X=440 PLAY_EDIT_Y=116  # play hotkey edit at 390,105, 100x22
LOOP_X=575 LOOP_Y=97             # "Loop" at 565,87
HOLD_X=575 HOLD_Y=120            # "Hold" at 565,110
LOCK_X=545 LOCK_Y=190            # "LockMouse" at 535,181
SCREEN_X=545 SCREEN_Y=210        # "ScreenMouse" at 535,201

e2e_log() { echo "[$E2E_NAME] $*"; }

# e2e_check DESCRIPTION COMMAND...: runs the command, counts its failure, returns its status.
e2e_check() {
    local what=$1 status=0
    shift
    E2E_CHECKS=$((E2E_CHECKS + 1))
    "$@" || status=$?
    if [ "$status" -eq 0 ]; then
        e2e_log "ok: $what"
    else
        E2E_FAILURES=$((E2E_FAILURES + 1))
        e2e_log "FAILED: $what"
    fi
    return "$status"
}

e2e_setup() {
    mkdir -p "$E2E_ARTIFACTS"
    korva_start_xvfb
    export WINEPREFIX
    WINEPREFIX=$(korva_new_prefix)
    E2E_DRIVE_C="$WINEPREFIX/drive_c"
    E2E_DATA="$E2E_DRIVE_C/KorvaMacro/Data"
    trap e2e_finish EXIT
    # The test run's time limit for a scenario ends it as a failure, still tidied up.
    trap 'e2e_log "FAILED: out of time"; E2E_FAILURES=$((E2E_FAILURES + 1)); exit 1' TERM
    e2e_log "display $DISPLAY, prefix $WINEPREFIX"
}

# The probe's questions wait for the window's answer; one that hangs counts as failed.
e2e_run_probe() { timeout -k 5 "${E2E_PROBE_SECONDS:-30}" wine "$E2E_BIN/korva_probe.exe" "$@"; }
e2e_probe() {
    e2e_run_probe "$@" 2>/dev/null | tr -d '\r'
    return "${PIPESTATUS[0]}"
}

# e2e_poll SECONDS COMMAND...: runs the command every 0.2 s until it succeeds, for at most SECONDS
# (a slow command is not started again past them).
e2e_poll() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.2
    done
}
e2e_exists() { e2e_run_probe exists "$1" >/dev/null 2>&1; }
# Wait until a top-level window with exactly this title exists, or none is left.
e2e_wait_window() { e2e_poll 30 e2e_exists "$1"; }
e2e_wait_gone() { e2e_poll 20 eval "! e2e_exists '$1'"; }

# e2e_start_app [ARGUMENT...]: starts the program and waits for its main window.
e2e_start_app() {
    wine "$E2E_BIN/KorvaMacro.exe" "$@" >/dev/null 2>&1 &
    APP_PID=$!
    e2e_wait_window KorvaMacro || { e2e_log "the main window did not appear"; return 1; }
    xdotool search --sync --name '^KorvaMacro$' >/dev/null
    sleep 0.5
}

# Client origin of a window in screen coordinates: "x y".
e2e_origin() { e2e_probe origin "${1:-KorvaMacro}"; }

# e2e_click X Y [BUTTON] [TITLE]: clicks at client coordinates of the window.
e2e_click() {
    local x=$1 y=$2 button=${3:-1} title=${4:-KorvaMacro} ox oy
    read -r ox oy < <(e2e_origin "$title")
    xdotool mousemove --sync $((ox + x)) $((oy + y)) click "$button"
    sleep 0.3
}
e2e_key() { xdotool key --delay 60 "$@" && sleep 0.3; }
# e2e_set_hotkey X Y KEY: clicks into the hotkey edit at client X,Y and presses the key it takes.
e2e_set_hotkey() { e2e_click "$1" "$2" && e2e_key "$3"; }
e2e_type() { xdotool type --delay 60 "$1" && sleep 0.3; }

# Moves the pointer by a relative amount in small steps (raw input sees each step).
e2e_move_by() {
    local dx=$1 dy=$2 steps=${3:-10} i
    for i in $(seq 1 "$steps"); do
        xdotool mousemove_relative -- $((dx / steps)) $((dy / steps))
        sleep 0.02
    done
    sleep 0.2
}

e2e_cursor() { xdotool getmouselocation | sed -E 's/x:([0-9-]+) y:([0-9-]+).*/\1 \2/'; }
e2e_list() { e2e_probe list "${1:-KorvaMacro}"; }
e2e_rows() { e2e_list | tr '\n' '|'; } # the main window's rows on one line
e2e_texts() { e2e_probe texts "${1:-KorvaMacro}"; }
# Text of the control with this ID, exactly (an empty text prints an empty line).
e2e_control_text() { e2e_texts "${2:-KorvaMacro}" | awk -v id="$1" '$1 == id { sub(/^[^ ]+ [^ ]+ /, ""); print; exit }'; }
# Text of the window's Nth child in creation order (for labels that have no ID).
e2e_child_text() { e2e_texts "${2:-KorvaMacro}" | sed -n "$1p" | cut -d' ' -f3-; }
e2e_output_text() { e2e_control_text 1002; }
# The main window's profile label, which has no ID: by its place in the control table.
e2e_profile_label() { e2e_child_text 10; }
# e2e_wait_text ID TEXT [TITLE]: waits up to about 10 s until the control shows the text.
e2e_wait_text() { e2e_poll 10 e2e_has_text "$@"; }
e2e_has_text() { [ "$(e2e_control_text "$1" "${3:-KorvaMacro}")" = "$2" ]; }

e2e_screenshot() {
    local file="$E2E_ARTIFACTS/$E2E_NAME-$1.png"
    xwd -root -silent -display "$DISPLAY" | convert xwd:- "png:$file"
    echo "$file"
}
# e2e_pixel FILE X Y: the pixel as "r,g,b".
e2e_pixel() {
    convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)],%[fx:int(255*p{'"$2"','"$3"'}.g)],%[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}

# Answers the file dialog titled $1 by typing $2 into its file name box, which has the focus.
e2e_answer_dialog() {
    e2e_wait_window "$1" || { e2e_log "no dialog titled $1"; return 1; }
    sleep 0.8
    e2e_type "$2"
    e2e_key Return
    e2e_wait_gone "$1"
}
# Clicks the main window's "Add" and answers the Open dialog with the full path.
e2e_load_macro() { e2e_click $((535 + 17)) $((15 + 10)) && e2e_answer_dialog Open "$1"; }

# e2e_replace_text X Y TEXT [TITLE]: clicks into the edit at client X,Y, empties it and types.
e2e_replace_text() {
    e2e_click "$1" "$2" 1 "${4:-KorvaMacro}"
    xdotool key End
    xdotool key --delay 20 $(printf 'BackSpace %.0s' $(seq 1 40))
    e2e_type "$3"
}

# Wine's notepad in the same prefix; its title names the document.
NOTEPAD_TITLE="Untitled - Notepad"
e2e_start_notepad() { (wine notepad >/dev/null 2>&1 &) && e2e_wait_window "$NOTEPAD_TITLE"; }
# The text in notepad's edit, one line.
e2e_notepad_text() { e2e_texts "$NOTEPAD_TITLE" | awk 'tolower($2) == "edit" { sub(/^[^ ]+ [^ ]+ /, ""); print; exit }'; }
e2e_notepad_shows() { [ "$(e2e_notepad_text)" = "$1" ]; }

# In the open Profiles window: ticks slot $1's box, picks file $2 in the Open dialog, then
# captures key $3 as the slot's trigger.
e2e_map_slot() {
    local y=$((10 + 22 * $1))
    e2e_click 17 $((y + 9)) 1 Profiles
    e2e_answer_dialog Open "$2"
    e2e_click 265 $((y + 10)) 1 Profiles
    e2e_key "$3"
}

# e2e_write_macro FILE LINE...: a macro file in the macro folder: the magic, then the lines.
e2e_write_macro() {
    local file=$1
    shift
    mkdir -p "$E2E_DATA"
    printf '%s\r\n' KORVAMACRO_V1 "$@" >"$E2E_DATA/$file"
}
# e2e_write_key_macro FILE VK...: Key events (decimal codes) 25 ms apart, named after the file.
e2e_write_key_macro() {
    local file=$1 vk events=()
    shift
    for vk in "$@"; do events+=("EV 3 25 0 0 0 $vk"); done
    e2e_write_macro "$file" "PLAYMODE 0" "MOUSEMODE 0" "OUTPUT ${file%.kmc}" "RECORD_HOTKEY 0 0" "PLAY_HOTKEY 0 0" \
        "HOLD_OFF_HOTKEY 0 0" "SPEED 0.6" "MACRO_COUNT $#" "${events[@]}"
}

# Keeps a screenshot of the end, closes the main window and checks that the program ends with exit
# code 0 (124 when it did not end in time).
e2e_close_expecting_exit_0() {
    local code=124
    e2e_screenshot end >/dev/null
    e2e_probe close KorvaMacro >/dev/null
    # A changed macro is asked about first: No closes without saving it.
    if e2e_poll 2 e2e_exists "Unsaved macro"; then sleep 0.5 && e2e_key Tab Return; fi
    if e2e_poll 10 eval '! kill -0 "$APP_PID" 2>/dev/null'; then
        wait "$APP_PID"
        code=$?
        APP_PID=""
    fi
    e2e_check "${1:-the program} ends with code 0 (got $code)" test "$code" = 0
}

e2e_finish() {
    trap - EXIT
    [ -n "$APP_PID" ] && kill "$APP_PID" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
    korva_stop_xvfb
    [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ] && rm -rf "$WINEPREFIX"
    e2e_log "$((E2E_CHECKS - E2E_FAILURES)) passed, $E2E_FAILURES failed"
    [ "$E2E_FAILURES" -eq 0 ] && [ "$E2E_CHECKS" -gt 0 ]
    exit $?
}
