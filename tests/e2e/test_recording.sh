#!/usr/bin/env bash
# Recording from real input: a key captured as the record hotkey, a recording of mouse moves, a
# click and two letters started and stopped with that key, the rows it leaves in the event list,
# and the master switch F4 that then refuses recording.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app

# The master label, by its place in the control table.
master_label() { e2e_texts | sed -n 4p | cut -d' ' -f3-; }

e2e_check "device combo starts at \"Any mouse [raw]\"" test "$(e2e_control_text 1001)" = "Any mouse [raw]"

e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
e2e_check "focusing the record hotkey edit shows None (got $(e2e_control_text 3001))" \
    test "$(e2e_control_text 3001)" = "None"
e2e_key F6
e2e_check "the pressed key is captured and named (got $(e2e_control_text 3001))" \
    test "$(e2e_control_text 3001)" = "F6"
e2e_check "capturing does not start a recording" test "$(e2e_control_text 2001)" = "Record"

e2e_key F6
e2e_check "the record hotkey starts recording (button reads $(e2e_control_text 2001))" \
    test "$(e2e_control_text 2001)" = "Stop"

# Raw movement reaches the coordinate label while it goes on (it drops to 0 after 80 ms of rest).
(for _ in $(seq 1 100); do
    xdotool mousemove_relative -- 2 1
    sleep 0.03
done) &
mover=$!
sleep 0.8
coords=$(e2e_texts | sed -n 1p | cut -d' ' -f3-)
wait "$mover"
e2e_check "the coordinate label shows raw movement (got \"$coords\")" grep -qE '^X: -?[1-9][0-9]*  Y: -?[0-9]+$' <<<"$coords"

# Onto an empty spot of the window's background, then a left click there.
read -r ox oy < <(e2e_origin)
xdotool mousemove --sync $((ox + 560)) $((oy + 322))
e2e_move_by 20 4 4
xdotool click 1
sleep 0.3
e2e_type ab
e2e_key F6
e2e_check "the record hotkey stops recording (button reads $(e2e_control_text 2001))" \
    test "$(e2e_control_text 2001)" = "Record"

rows=$(e2e_list)
e2e_log "event list: $(grep -c . <<<"$rows") rows; those that are not moves:"
grep -v ': Move ' <<<"$rows" | sed 's/^/    /'
# The rows are written by the event list's RebuildEventList; until that part is built the list
# stays empty after a recording, and the row checks below wait for it.
if grep -q "FormatEventRow" "$KORVA_ROOT"/macro/*.cpp 2>/dev/null; then
    row_of() { grep -nE "$1" <<<"$rows" | head -1 | cut -d: -f1; }
    move=$(row_of '^[0-9]+: Move dx=-?[0-9]+ dy=-?[0-9]+  delay=[0-9]+ ms$')
    down=$(row_of '^[0-9]+: Mouse down btn=1  delay=[0-9]+ ms$')
    up=$(row_of '^[0-9]+: Mouse up btn=2  delay=[0-9]+ ms$')
    key_a=$(row_of '^[0-9]+: Key vk=0x41  delay=[0-9]+ ms$')
    key_b=$(row_of '^[0-9]+: Key vk=0x42  delay=[0-9]+ ms$')
    e2e_check "Move rows recorded" test -n "$move"
    e2e_check "\"Mouse down btn=1\" then \"Mouse up btn=2\"" test -n "$down" -a -n "$up" -a "${down:-0}" -lt "${up:-0}"
    e2e_check "the two Key rows follow the click in typing order" \
        test -n "$key_a" -a -n "$key_b" -a "${up:-0}" -lt "${key_a:-0}" -a "${key_a:-0}" -lt "${key_b:-0}"
    e2e_check "the record key itself is not recorded" bash -c '! grep -q "Key vk=0x75 " <<<"$1"' _ "$rows"
    e2e_check "rows are numbered from 0 and the first has delay 0" \
        bash -c 'head -1 <<<"$1" | grep -qE "^0: .*  delay=0 ms$"' _ "$rows"
    e2e_check "rows are numbered in order" \
        bash -c 'awk -F: "\$1 != NR - 1 { bad = 1 } END { exit bad }" <<<"$1"' _ "$rows"
else
    e2e_log "event list rows not built yet: row checks skipped"
fi

e2e_check "master label starts ON (got $(master_label))" test "$(master_label)" = "ON"
e2e_key F4
e2e_check "F4 turns the master label OFF (got $(master_label))" test "$(master_label)" = "OFF"
e2e_key F6
e2e_check "the record hotkey is refused while switched off" test "$(e2e_control_text 2001)" = "Record"
e2e_click 340 78 # the Record button
e2e_check "the Record button is refused while switched off" test "$(e2e_control_text 2001)" = "Record"
e2e_key F4
e2e_check "F4 again turns the master label ON (got $(master_label))" test "$(master_label)" = "ON"
e2e_key F6
e2e_check "recording works again once switched on" test "$(e2e_control_text 2001)" = "Stop"
e2e_key F6

e2e_close_app
e2e_wait_exit
e2e_check "the program ends with code 0 (got $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
