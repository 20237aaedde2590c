#!/usr/bin/env bash
# Crash safety of "Save": a large macro is saved over its own file again and again, and the
# program is killed by process id at moments spread over the save (while the overwrite question
# closes, while the text is built, while the temporary file is written, around the final move).
# After every kill the file must be byte for byte either the old one or the complete new one,
# and it must load again.
source "$(dirname "$0")/harness.sh"
e2e_setup

EVENTS=${KORVA_CRASH_EVENTS:-300000}
DATA="$E2E_DRIVE_C/KorvaMacro/Data"
NAME="Crash Target"
TARGET="$DATA/$NAME.kmc"
# Copies of the old and the expected new bytes, outside drive C; removed with the prefix.
SCRATCH="$WINEPREFIX/crash-safety"
mkdir -p "$DATA" "$SCRATCH"
QUESTION="Overwrite existing macro?"

# Ten-digit values make long lines, so that writing the file takes a measurable time. They are
# put together as text: awk would print numbers beyond 2^31 as "4e+09".
generate_macro() {
    awk -v n="$1" -v name="$NAME" 'BEGIN {
        ORS = "\r\n"
        print "KORVAMACRO_V1"; print "PLAYMODE 0"; print "MOUSEMODE 0"; print "MASTER 1"
        print "DEVICEINDEX 0"; print "OUTPUT " name; print "RECORD_HOTKEY 0 0"; print "PLAY_HOTKEY 0 0"
        print "HOLD_OFF_HOTKEY 0 0"; print "SPEED 1.25"; print "MACRO_COUNT " n
        for (i = 0; i < n; i++) {
            d = sprintf("%09d", i)
            print "EV " (i % 4) " 4" d " -1" d " 1" d " 1" d " 2" d
        }
    }'
}

now_us() { echo "${EPOCHREALTIME/./}"; }

# Sleeps until the given time in microseconds, the last 50 ms by spinning for precision.
wait_until_us() {
    local target=$1 rest
    rest=$((target - $(now_us) - 50000))
    [ "$rest" -gt 0 ] && sleep "$(printf '%d.%06d' $((rest / 1000000)) $((rest % 1000000)))"
    while ((${EPOCHREALTIME/./} < target)); do :; done
}

shopt -s nullglob
temporary_files() {
    local files=("$DATA"/[kK][mM][cC]*.[tT][mM][pP])
    echo "${#files[@]}"
}

# Spins until more temporary files exist than $1 or the time $2 (microseconds) has passed; prints
# the moment it saw the new one, or nothing.
wait_for_new_temporary() {
    local before=$1 deadline=$2 files
    while ((${EPOCHREALTIME/./} < deadline)); do
        files=("$DATA"/[kK][mM][cC]*.[tT][mM][pP])
        if [ "${#files[@]}" -gt "$before" ]; then
            now_us
            return 0
        fi
    done
    return 1
}

# Spins until the temporary files are back to $1 (the new one was moved over the target).
wait_for_temporary_gone() {
    local before=$1 deadline=$2 files
    while ((${EPOCHREALTIME/./} < deadline)); do
        files=("$DATA"/[kK][mM][cC]*.[tT][mM][pP])
        if [ "${#files[@]}" -le "$before" ]; then
            now_us
            return 0
        fi
    done
    return 1
}

play_mode_of() { sed -n '2s/^PLAYMODE \([0-9]*\).*/\1/p' "$1"; }

# MACRO_COUNT agrees with the number of EV lines and the file ends with a whole line.
count_matches_events() {
    local count events
    count=$(sed -n 's/^MACRO_COUNT \([0-9]*\).*/\1/p' "$1")
    events=$(grep -c '^EV ' "$1")
    [ -n "$count" ] && [ "$count" = "$events" ] && [ "$(tail -c 2 "$1" | od -An -c | tr -d ' ')" = '\r\n' ]
}

# Checks that the list shows every event of the file.
check_rows() {
    local rows
    rows=$(e2e_probe count KorvaMacro)
    e2e_check "$1: all $EVENTS events are listed (got $rows)" test "$rows" = "$EVENTS"
}

# Starts the program, loads the target through the Open dialog, checks it came in whole and
# flips the play mode, so that the next save writes different bytes. Leaves the old bytes in
# $SCRATCH/old.kmc and the bytes the save must write in $SCRATCH/new.kmc.
prepare_round() {
    local round=$1 mode button
    cp "$TARGET" "$SCRATCH/old.kmc"
    if ! e2e_start_app; then
        e2e_check "$round: the program starts" false
        return 1
    fi
    e2e_check "$round: the Open dialog loads the file" e2e_load_macro "$NAME.kmc"
    check_rows "$round"
    mode=$(play_mode_of "$SCRATCH/old.kmc")
    [ "$mode" = 1 ] && mode=0 || mode=1
    button=$((2101 + mode))
    e2e_click $((565 + 10)) $((64 + 23 * mode + 10))
    e2e_check "$round: play mode $mode is chosen" grep -qx "$button" <(e2e_probe checked KorvaMacro)
    sed "2s/^PLAYMODE [0-9]*/PLAYMODE $mode/" "$SCRATCH/old.kmc" >"$SCRATCH/new.kmc"
}

# Clicks "Save" and waits for the overwrite question. Prints the number of temporary files.
ask_to_save() {
    e2e_click $((490 + 17)) $((15 + 10)) >/dev/null
    e2e_wait_window "$QUESTION" || return 1
    sleep 0.3
    temporary_files
}

# --- Measuring round: one save that is allowed to finish.
generate_macro "$EVENTS" >"$TARGET"
e2e_log "$(wc -c <"$TARGET") bytes, $EVENTS events"
prepare_round "measuring round" || exit 1
before=$(ask_to_save)
e2e_check "measuring round: Save asks before overwriting" test -n "$before"
key_us=$(now_us)
xdotool key alt+y
tmp_us=$(wait_for_new_temporary "$before" $((key_us + 15000000)))
done_us=$(wait_for_temporary_gone "$before" $((key_us + 15000000)))
e2e_check "measuring round: alt+y answers Yes and the save makes a temporary file" test -n "$tmp_us"
e2e_check "measuring round: the temporary file is moved over the target" test -n "$done_us"
sleep 0.5
e2e_check "measuring round: the saved file holds exactly the expected bytes" cmp -s "$TARGET" "$SCRATCH/new.kmc"
e2e_close_app
e2e_wait_exit
[ -n "$APP_PID" ] && kill -9 "$APP_PID" 2>/dev/null
APP_PID=""
if [ -z "$tmp_us" ] || [ -z "$done_us" ]; then
    e2e_log "no measurement of the save; stopping here"
    exit 1
fi
T_TMP=$((tmp_us - key_us))
T_DONE=$((done_us - key_us))
T_WRITE=$((done_us - tmp_us))
e2e_log "measured from the key press: temporary file after $((T_TMP / 1000)) ms," \
    "moved over the target after $((T_DONE / 1000)) ms (written in $((T_WRITE / 1000)) ms)"

# --- Kill rounds. "key N": N microseconds after the key press; "tmp N": N microseconds after the
# temporary file appeared.
SCHEDULE=(
    "key $((T_TMP / 2))"
    "key $((T_TMP - 60000))"
    "key $((T_TMP - 15000))"
    "tmp 0"
    "tmp $((T_WRITE / 10))"
    "tmp $((T_WRITE / 4))"
    "tmp $((T_WRITE / 2))"
    "tmp $((T_WRITE * 3 / 4))"
    "tmp $((T_WRITE * 9 / 10))"
    "tmp $((T_WRITE + 2000))"
    "key $((T_DONE + 300000))"
)
BEFORE=0
DURING=0
AFTER=0
LEFTOVER=0
LEFT_EMPTY=0
LEFT_PARTIAL=0
LEFT_COMPLETE=0
round=0
completed=0
for entry in "${SCHEDULE[@]}"; do
    round=$((round + 1))
    read -r anchor offset <<<"$entry"
    ((offset < 0)) && offset=0
    label="round $round ($anchor+$((offset / 1000)) ms)"
    prepare_round "$label" || break
    before=$(ask_to_save)
    if [ -z "$before" ]; then
        e2e_check "$label: Save asks before overwriting" false
        break
    fi
    key_us=$(now_us)
    xdotool key alt+y
    if [ "$anchor" = tmp ]; then
        seen_us=$(wait_for_new_temporary "$before" $((key_us + 15000000)))
        wait_until_us $((${seen_us:-$(now_us)} + offset))
    else
        wait_until_us $((key_us + offset))
    fi
    killed_us=$(now_us)
    e2e_check "$label: the program was still running when killed" kill -9 "$APP_PID"
    wait "$APP_PID" 2>/dev/null
    APP_PID=""
    wineserver -k 2>/dev/null
    timeout 20 wineserver -w 2>/dev/null

    left=$(($(temporary_files) - before))
    if cmp -s "$TARGET" "$SCRATCH/new.kmc"; then
        AFTER=$((AFTER + 1))
        landed="after the move"
    elif cmp -s "$TARGET" "$SCRATCH/old.kmc"; then
        if [ "$left" -gt 0 ]; then
            DURING=$((DURING + 1))
            landed="while the temporary file existed"
        else
            BEFORE=$((BEFORE + 1))
            landed="before the temporary file existed"
        fi
    else
        landed="TORN FILE"
        cp "$TARGET" "$E2E_ARTIFACTS/$E2E_NAME-torn-round-$round.kmc"
    fi
    partial=""
    if [ "$left" -gt 0 ]; then
        LEFTOVER=$((LEFTOVER + left))
        newest=$(ls -t "$DATA"/[kK][mM][cC]*.[tT][mM][pP] | head -1)
        size=$(wc -c <"$newest")
        partial=", temporary file left with $size of $(wc -c <"$SCRATCH/new.kmc") bytes"
        if [ "$size" = 0 ]; then
            LEFT_EMPTY=$((LEFT_EMPTY + 1))
        elif cmp -s "$newest" "$SCRATCH/new.kmc"; then
            LEFT_COMPLETE=$((LEFT_COMPLETE + 1))
        else
            LEFT_PARTIAL=$((LEFT_PARTIAL + 1))
        fi
    fi
    e2e_log "$label: killed $(((killed_us - key_us) / 1000)) ms after the key, $landed$partial"
    e2e_check "$label: the file is the old or the complete new one, byte for byte" \
        test "$landed" != "TORN FILE"
    e2e_check "$label: MACRO_COUNT matches the EV lines" count_matches_events "$TARGET"
    completed=$((completed + 1))
done

e2e_log "kills: $BEFORE before the temporary file existed, $DURING while it existed, $AFTER after the move;" \
    "$LEFTOVER temporary files left behind ($LEFT_EMPTY empty, $LEFT_PARTIAL partly written," \
    "$LEFT_COMPLETE complete)"
e2e_check "all ${#SCHEDULE[@]} rounds ran (got $completed)" test "$completed" = "${#SCHEDULE[@]}"
e2e_check "some kills landed while the temporary file existed" test "$DURING" -gt 0

# The file as the last kill left it loads whole. The leftover temporary files are aged past the
# minute after which the next start removes them.
leftovers=$(temporary_files)
files=("$DATA"/[kK][mM][cC]*.[tT][mM][pP])
[ "${#files[@]}" -gt 0 ] && touch -d '-2 minutes' "${files[@]}"
e2e_check "the program starts after the last kill" e2e_start_app
e2e_check "the start removed the $leftovers aged temporary files (left: $(temporary_files))" \
    test "$(temporary_files)" = 0
e2e_check "the Open dialog loads the file the last kill left" e2e_load_macro "$NAME.kmc"
check_rows "after the last kill"
last=$((EVENTS - 1))
expected_last="$last: $(
    case $((last % 4)) in
    0) echo "Move dx=$((-1000000000 - last)) dy=$((1000000000 + last))" ;;
    1) echo "Mouse down btn=$((1000000000 + last))" ;;
    2) echo "Mouse up btn=$((1000000000 + last))" ;;
    3) printf 'Key vk=0x%x' $((2000000000 + last)) ;;
    esac
)  delay=$((4000000000 + last)) ms"
last_row=$(e2e_probe item KorvaMacro "$last")
e2e_check "the last row is the last event (got '$last_row')" test "$last_row" = "$expected_last"
e2e_screenshot crash-safety >/dev/null
e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
