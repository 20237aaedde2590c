#!/usr/bin/env bash
# Path editor: record a movement, open the editor with "Edit", apply it once untouched (smoothed),
# drag one point with the mouse, "Apply" again, and compare the Move rows of the event list with
# the path worked out here from the recorded rows: building, smoothing, fitting into the free
# area, the drag falloff and the rounding.
source "$(dirname "$0")/harness.sh"
e2e_setup
e2e_start_app
EDITOR="Mouse Path Editor"
# The path arithmetic on the Move rows read from stdin ("i: Move dx=X dy=Y  delay=D ms").
#   mode=pick  : prints "k x y", a point k well inside the path and its client pixel, drawn on a
#                pixel of its own, clear of the editor's texts and buttons
#   mode=apply : prints "dx dy" per Move event as "Apply" writes them; with k >= 0 after dragging
#                point k to the client pixel (tx, ty)
#   mode=dragged: the client pixel where the next paint draws point k after that drag
path_calc() {
    awk -v mode="$1" -v w="$2" -v h="$3" -v k="${4:--1}" -v tx="${5:-0}" -v ty="${6:-0}" '
    function round(v) { return v < 0 ? -int(-v + 0.5) : int(v + 0.5) }
    function smooth(   pass, i, prevx, prevy, curx, cury) {
        for (pass = 0; pass < 2 && n >= 2; pass++) {
            prevx = x[0]; prevy = y[0]
            for (i = 1; i < n; i++) {
                curx = x[i]; cury = y[i]
                x[i] = (curx + prevx + x[i + 1]) / 3; y[i] = (cury + prevy + y[i + 1]) / 3
                prevx = curx; prevy = cury
            }
        }
    }
    # The path is fitted between the header texts (bottom 23) and the buttons (top 405).
    BEGIN { n = 0; x[0] = 0; y[0] = 0; sx = 0; sy = 0; top = 23; ah = (h < 405 ? h : 405) - top }
    / Move dx=/ {
        split($0, parts, /dx=| dy=|  delay=/)
        sx += parts[2]; sy += parts[3]
        n++; x[n] = sx; y[n] = sy
    }
    function fit(   i) {
        minx = maxx = x[0]; miny = maxy = y[0]
        for (i = 0; i <= n; i++) {
            if (x[i] < minx) minx = x[i]; if (x[i] > maxx) maxx = x[i]
            if (y[i] < miny) miny = y[i]; if (y[i] > maxy) maxy = y[i]
        }
        rx = maxx - minx; ry = maxy - miny
        if (rx == 0) rx = 1; if (ry == 0) ry = 1
        s = (w - 40) / rx; if ((ah - 40) / ry < s) s = (ah - 40) / ry
        cx = (minx + maxx) / 2; cy = (miny + maxy) / 2
        for (i = 0; i <= n; i++) { px[i] = round((x[i] - cx) * s + w / 2); py[i] = round((y[i] - cy) * s + top + ah / 2) }
    }
    END {
        smooth()
        fit()
        if (mode == "pick") {
            for (off = 0; off <= n; off++) {
                for (sign = -1; sign <= 1; sign += 2) {
                    c = int(n / 2) + sign * off
                    if (c < 16 || c > n - 16 || py[c] < 45 || py[c] > 380 || px[c] < 30 || px[c] > w - 30) continue
                    shared = 0
                    for (j = c + 1; j <= n; j++) if (px[j] == px[c] && py[j] == py[c]) shared = 1
                    if (!shared) { printf "%d %d %d\n", c, px[c], py[c]; exit }
                }
            }
            exit 1
        }
        if (k >= 0) {
            for (i = 0; i <= n; i++) { snapx[i] = x[i]; snapy[i] = y[i] }
            base = (n + 1) * 0.03125; if (base < 3) base = 3; if (base > 40) base = 40
            dx = ((tx - w / 2) / s + cx) - snapx[k]; dy = ((ty - top - ah / 2) / s + cy) - snapy[k]
            grow = 1 + sqrt(dx * dx + dy * dy) / 50; if (grow > 4) grow = 4
            r = base * grow
            for (i = 0; i <= n; i++) {
                d = i > k ? i - k : k - i
                if (d > r) continue
                wgt = (1 - d / r) * (1 - d / r)
                x[i] = snapx[i] + wgt * dx; y[i] = snapy[i] + wgt * dy
            }
            smooth()
        }
        if (mode == "dragged") { fit(); printf "%d %d\n", px[k], py[k]; exit }
        for (i = 1; i <= n; i++) printf "%d %d\n", round(x[i] - x[i - 1]), round(y[i] - y[i - 1])
    }'
}
move_values() { sed -nE 's/^[0-9]+: Move dx=(-?[0-9]+) dy=(-?[0-9]+) .*/\1 \2/p'; }
other_rows() { grep -v ': Move dx=' || true; }
rows_of() { printf '%s\n' "$1"; }
# The program's own clicks are not recorded: neither the Record button's stopping click nor the
# middle button as the record hotkey.
e2e_click $RECORD_EDIT_X $RECORD_EDIT_Y
xdotool click 2
e2e_check "the middle button is the record hotkey" e2e_wait_text 3001 "Mouse button"
e2e_click 150 38
e2e_click $RECORD_X $RECORD_Y
e2e_move_by 40 20
e2e_click $RECORD_X $RECORD_Y
e2e_check "the Record button's stopping click is not recorded" test "$(e2e_list | grep -c btn=)" = 0
# The path: started and stopped with the middle button, a movement in small steps between.
xdotool click 2
e2e_move_by 160 0 16
e2e_move_by 60 120 12
e2e_move_by -150 40 15
xdotool click 2
sleep 0.5
recorded=$(e2e_list)
moves=$(grep -c ': Move dx=' <<<"$recorded")
e2e_check "the recording lists Move rows (got $moves) and no button rows" \
    test "$moves" -ge 30 -a "$(grep -c btn= <<<"$recorded")" = 0
[ "$moves" -ge 30 ] || exit 1
# "Edit" opens the editor.
e2e_click 472 214
e2e_check "\"Edit\" opens the path editor" e2e_wait_window "$EDITOR" || exit 1
sleep 0.5
read -r ew eh < <(e2e_probe client "$EDITOR")
read -r ex ey < <(e2e_origin "$EDITOR")
# "Apply" untouched writes the smoothed path.
e2e_click 235 417 1 "$EDITOR"
smoothed=$(e2e_list)
expected=$(rows_of "$recorded" | path_calc apply "$ew" "$eh")
e2e_check "Apply without a drag writes the smoothed movement" \
    test "$(rows_of "$smoothed" | move_values)" = "$expected"
e2e_check "the other rows are untouched" \
    test "$(rows_of "$smoothed" | other_rows)" = "$(rows_of "$recorded" | other_rows)"
# Drag a point well inside the path 70 pixels up or down, whichever stays in the window. The
# cursor jumps there in one move: every move is converted with the fit of the latest paint, and
# a paint after a drag step may fit a grown bounding box.
read -r k px py < <(rows_of "$recorded" | path_calc pick "$ew" "$eh")
e2e_check "a point to grab was found (point ${k:-none} at ${px:-?},${py:-?})" test -n "${k:-}"
[ -n "${k:-}" ] || exit 1
if [ "$py" -gt $((eh / 2)) ]; then ty=$((py - 70)); else ty=$((py + 70)); fi
tx=$((px + 25))
xdotool mousemove --sync $((ex + px)) $((ey + py))
sleep 0.2
xdotool mousedown 1
sleep 0.3
xdotool mousemove --sync $((ex + tx)) $((ey + ty))
sleep 0.5
shot=$(e2e_screenshot editor)
xdotool mouseup 1
sleep 0.3
e2e_log "dragged point $k from $px,$py to $tx,$ty; screenshot $shot"
# The screenshot: dark background, the white line through the dragged point, its pink frame.
read -r kx ky < <(rows_of "$recorded" | path_calc dragged "$ew" "$eh" "$k" "$tx" "$ty")
pixels="$(e2e_pixel "$shot" $((ex + 5)) $((ey + 60))) $(e2e_pixel "$shot" $((ex + kx)) $((ey + ky))) $(e2e_pixel "$shot" $((ex + kx - 3)) $((ey + ky - 3)))"
e2e_check "background, the line at the dragged point $kx,$ky and its frame (got $pixels)" \
    test "$pixels" = "6,8,10 255,255,255 255,153,172"
e2e_click 235 417 1 "$EDITOR"
dragged=$(e2e_list)
expected=$(rows_of "$recorded" | path_calc apply "$ew" "$eh" "$k" "$tx" "$ty")
e2e_check "the Move rows are the dragged path's differences" \
    test "$(rows_of "$dragged" | move_values)" = "$expected"
e2e_check "the row count and the other rows are unchanged" \
    test "$(rows_of "$dragged" | other_rows)" = "$(rows_of "$recorded" | other_rows)"
# "Close" ends the editor; the program goes on until its own window is closed.
e2e_click 315 417 1 "$EDITOR"
e2e_check "\"Close\" closes the editor" e2e_wait_gone "$EDITOR"
e2e_close_app
e2e_wait_exit
e2e_check "the program ends cleanly (code $E2E_EXIT_CODE)" test "$E2E_EXIT_CODE" = "0"
