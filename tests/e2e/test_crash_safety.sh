#!/usr/bin/env bash
# Crash safety of "Save": a large macro is saved over its own file again and again, and the program
# is killed by process id at moments spread over the save (while the macro is formatted, while the
# temporary file is written, after the final move). After every kill the file must be byte for
# byte either the old one or the complete new one, and it must load again.
source "$(dirname "$0")/harness.sh"
e2e_setup
EVENTS=300001 # the last event is a Move
NAME="Crash Target"
TARGET="$E2E_DATA/$NAME.kmc"
SCRATCH="$WINEPREFIX/crash-safety" # old and expected new bytes, outside drive C
mkdir -p "$E2E_DATA" "$SCRATCH"
shopt -s nullglob
# Ten-digit values (built as text: awk prints big numbers as 4e+09) make the file slow to write.
awk -v n="$EVENTS" -v name="$NAME" 'BEGIN {
    ORS = "\r\n"
    print "KORVAMACRO_V1"; print "PLAYMODE 0"; print "MOUSEMODE 0"; print "MASTER 1"; print "DEVICEINDEX 0"
    print "OUTPUT " name; print "RECORD_HOTKEY 0 0"; print "PLAY_HOTKEY 0 0"; print "HOLD_OFF_HOTKEY 0 0"
    print "SPEED 1.25"; print "MACRO_COUNT " n
    for (i = 0; i < n; i++) { d = sprintf("%09d", i); print "EV " (i % 4) " 4" d " -1" d " 1" d " 1" d " 2" d }
}' >"$TARGET"
now_us() { echo "${EPOCHREALTIME/./}"; }
# Sleeps until the given time in microseconds, the last 50 ms by spinning for precision.
wait_until_us() {
    local rest=$(($1 - $(now_us) - 50000))
    [ "$rest" -gt 0 ] && sleep "$(printf '%d.%06d' $((rest / 1000000)) $((rest % 1000000)))"
    while ((${EPOCHREALTIME/./} < $1)); do :; done
}
temporary_files() {
    local files=("$E2E_DATA"/[kK][mM][cC]*.[tT][mM][pP])
    echo "${#files[@]}"
}
# wait_for_temporaries -gt|-le COUNT UNTIL_US: spins until the number of temporary files compares so
# with COUNT, or the time has passed; prints the moment it saw that, or nothing.
wait_for_temporaries() {
    local files
    while ((${EPOCHREALTIME/./} < $3)); do
        files=("$E2E_DATA"/[kK][mM][cC]*.[tT][mM][pP])
        [ "${#files[@]}" "$1" "$2" ] && now_us && return 0
    done
    return 1
}
# Starts the program, loads the target (as the last kill left it) and flips the play mode, so that
# the next save writes different bytes; clicks "Save" and waits for the overwrite question. Leaves
# the old bytes in old.kmc, the bytes the save must write in new.kmc (a load that lost an event or
# the mode makes the next save neither), and the number of temporary files in BEFORE.
prepare_round() {
    local mode
    cp "$TARGET" "$SCRATCH/old.kmc"
    e2e_check "$1: the program starts" e2e_start_app || return 1
    e2e_check "$1: the Open dialog loads the file" e2e_load_macro "$NAME.kmc"
    mode=$(sed -n '2s/^PLAYMODE \([0-9]*\).*/\1/p' "$SCRATCH/old.kmc")
    [ "$mode" = 1 ] && mode=0 || mode=1
    e2e_click $((565 + 10)) $((64 + 23 * mode + 10))
    sed "2s/^PLAYMODE [0-9]*/PLAYMODE $mode/" "$SCRATCH/old.kmc" >"$SCRATCH/new.kmc"
    e2e_click $((490 + 17)) $((15 + 10))
    e2e_check "$1: Save asks before overwriting" e2e_wait_window "Overwrite existing macro?" || return 1
    sleep 0.3
    BEFORE=$(temporary_files)
}
# Kill rounds. "key N": N microseconds after the key press that answers Yes (while the macro is
# formatted); "tmp N": after the temporary file appeared; "done N": after it was moved over the target.
SCHEDULE=("key 100000" "key 1000000" "tmp 0" "tmp 2000" "tmp 5000" "tmp 10000" "tmp 20000" "tmp 40000"
    "done 300000")
DURING=0
round=0
for entry in "${SCHEDULE[@]}"; do
    round=$((round + 1))
    read -r anchor offset <<<"$entry"
    label="round $round ($anchor+$((offset / 1000)) ms)"
    prepare_round "$label" || break # after a failed check
    key_us=$(now_us)
    xdotool key alt+y
    seen_us=$key_us
    [ "$anchor" != key ] && seen_us=$(wait_for_temporaries -gt "$BEFORE" $((key_us + 15000000)))
    [ "$anchor" = done ] && seen_us=$(wait_for_temporaries -le "$BEFORE" $((key_us + 15000000)))
    wait_until_us $((${seen_us:-$(now_us)} + offset))
    e2e_check "$label: the program was still running when killed" kill -9 "$APP_PID"
    wait "$APP_PID" 2>/dev/null
    APP_PID=""
    wineserver -k 2>/dev/null
    timeout 20 wineserver -w 2>/dev/null
    if cmp -s "$TARGET" "$SCRATCH/new.kmc"; then
        landed="after the move"
    elif cmp -s "$TARGET" "$SCRATCH/old.kmc"; then
        landed="before the temporary file existed"
        [ "$(temporary_files)" -gt "$BEFORE" ] && landed="while the temporary file existed" && DURING=$((DURING + 1))
    else
        landed="TORN FILE"
        cp "$TARGET" "$E2E_ARTIFACTS/$E2E_NAME-torn-round-$round.kmc"
    fi
    e2e_check "$label, $landed: the file is the old or the complete new one, byte for byte" test "$landed" != "TORN FILE"
    [ "$anchor" = done ] && e2e_check "$label: the finished save wrote the expected bytes" test "$landed" = "after the move"
done
e2e_check "some kills landed while the temporary file existed (got $DURING)" test "$DURING" -gt 0
