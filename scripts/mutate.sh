#!/usr/bin/env bash
# The mutation check: breaks the program one fault at a time in a scratch worktree, rebuilds and
# runs the tests that could catch the fault, cheapest first, and counts the faults caught.
#   bash scripts/mutate.sh [ID...]      (default: every fault below)
#   bash scripts/mutate.sh --check      (only shows that every patch still applies)
# KORVA_MUTATE_DIR is the scratch worktree (default /work/scratch/budget), checked out at
# KORVA_MUTATE_COMMIT (default: this branch's commit), so commit the tests first. Results go to
# $KORVA_MUTATE_DIR/mutation-results.txt, one line per fault.
# Layers of a fault: native (all unit tests), tsan (unit tests under ThreadSanitizer, when that
# tree was built), wine:FILTER (Win32 tests by gtest filter; a filter that matches nothing passes),
# e2e:A/B (scenario A, or B where A was merged into B). A fault counts as caught at the first layer
# that fails or hangs (look at mutant.log when a scenario timed out under load).
# KORVA_MUTATE_FOLLOW=FILE takes the native verdicts from the results FILE of another run (waiting
# for each line) and runs only the other layers: for a second run whose unit tests are the same.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SCRATCH=${KORVA_MUTATE_DIR:-/work/scratch/budget}

# ID <tab> file <tab> layers <tab> sed script
FAULTS=$(
    cat <<'EOF'
P01	macro/Playback.cpp	native	s/delayMs >= MOUSE_DELAY_FLOOR_MS/delayMs > MOUSE_DELAY_FLOOR_MS/
P02	macro/Playback.cpp	native	s/if (!(scaled >= 1.0)) return 1;/if (!(scaled >= 1.0)) return 0;/
P03	macro/Playback.cpp	native	s/std::max(schedule.dueMs, nowMs - CATCH_UP_LIMIT_MS)/schedule.dueMs/
P04	macro/Playback.cpp	native	s/std::clamp(ry, -MOVE_STEP_LIMIT/std::clamp(rx, -MOVE_STEP_LIMIT/
P05	macro/Playback.cpp	native wine:PlaybackWin.*	s/if (!run.buttonHeld\[slot\]) continue;/if (run.buttonHeld[slot]) continue;/
P06	macro/Playback.cpp	native wine:PlaybackWin.*	s/= event.type == ButtonDown;/= event.type == ButtonUp;/
P07	macro/Playback.cpp	native e2e:playback/session	s/ || app.recording || app.events.empty())/ || app.recording)/
P08	macro/Playback.cpp	native e2e:modes	s/return mouseMode == CenterMouse || mouseMode == LockMouse || /return mouseMode == CenterMouse || /
P09	macro/Playback.cpp	native wine:PlaybackWin.*	s/^    ReleaseEverything(io, run);$//
P17	macro/Playback.cpp	native	s/^            SendReleases(io, run);$//
P18	macro/Playback.cpp	native	s/while (!SendReleases(io, run) \&\& /while (!SendReleases(io, run) \&\& false \&\& /
P10	macro/Playback.cpp	native e2e:modes	s/ || !app.holdStateOn;$/;/
P11	macro/Playback.cpp	native	s/static_cast<int32_t>(j + 1)/static_cast<int32_t>(j)/
P12	macro/Playback.cpp	native	/if (!startThread(parameter)) {/,/}/s/io.freeCursor();//
P13	macro/Playback.cpp	native e2e:modes	s/if (CarriesCursor(app.mouseMode)) trackedCursor = app.playbackStartPoint;//
P14	macro/Playback.cpp	native e2e:modes	s/if (app.playMode == Once) {/if (app.playMode == Hold) {/
P15	macro/Playback.cpp	native e2e:modes	s/if (run.interfaceStalled || io.nowMs() - run.caughtUpMs < INTERFACE_LAG_LIMIT_MS) return;/return;/
P16	macro/Playback.cpp	native e2e:modes	s/last.x <= heldLast.x \&\& last.y <= heldLast.y)/false)/
P20	macro/Playback.cpp	native e2e:screen/session	s/if (app.mouseMode == ScreenMouse \&\& HasScreenPosition(event))/if (false)/
P21	macro/Playback.cpp	native e2e:screen/session	s/} else if (mode == ScreenMouse \&\& app.macroStartPos) {/} else if (false) {/
K01	input/KeyboardHook.cpp	native wine:KeyboardHookProc*	s/if (!MainCaptureArmed(state) \&\& matches/if (matches/
K02	input/KeyboardHook.cpp	native e2e:recording/session	s/ || matches(state.playHotkey);/;/
K03	input/KeyboardHook.cpp	native e2e:modes	s/if (state.playMode == Hold \&\& ReleasesKey(state.playHotkey, vk))/if (ReleasesKey(state.playHotkey, vk))/
K04	input/KeyboardHook.cpp	native e2e:modes	s/Hold ? PlayPressAction::Nothing : PlayPressAction::RequestStop/Hold ? PlayPressAction::RequestStop : PlayPressAction::Nothing/
K05	input/KeyboardHook.cpp	native	s/<= AUTO_REPEAT_GAP_MS/< AUTO_REPEAT_GAP_MS/
K06	input/KeyboardHook.cpp	native e2e:modes	s/if (vk < state.keyDownTicks.size()) state.keyDownTicks\[vk\] = 0;//
K07	input/KeyboardHook.cpp	native e2e:modes	s/return rule == ToggleMaster || /return /
K08	input/KeyboardHook.cpp	native wine:ProfileKeys*	s/if (slot >= 0) return {SwitchToProfile, slot};//
K09	input/KeyboardHook.cpp	native wine:KeyboardHookProc*	s/return modifiers != 0 \&\& BindsCode(state, vk | modifiers) ? vk | modifiers : vk;/return vk;/
K10	input/KeyboardHook.cpp	native wine:KeyboardHookProc*	s/{ return !own \&\& MatchesKey(binding, code); }/{ return MatchesKey(binding, code); }/
K11	input/KeyboardHook.cpp	native wine:KeyboardHookProc*	s/if (vk == VK_ESCAPE_KEY) return {CancelCapture};//
K12	input/RawMouse.cpp	native e2e:modes	s/if (press == 0 || press == BUTTON_PRESS_FLAGS\[0\]) return HotkeyEdit::None;/if (press == 0) return HotkeyEdit::None;/
P19	macro/Playback.cpp	native	s/if (scaled > 0 \&\& scaled < 1.0) return scaled;//
R01	macro/Recorder.cpp	native	s/if (count == 0 || gap < MOUSE_DELAY_FLOOR_MS) {/if (count == 0 || gap <= MOUSE_DELAY_FLOOR_MS) {/
R02	macro/Recorder.cpp	native	s/if (!app.recording || !app.masterEnabled) return;/if (!app.recording) return;/
R03	macro/Recorder.cpp	native	s/app.carriedDelayMs = gap;/app.carriedDelayMs = 0;/
R04	macro/Recorder.cpp	native wine:ProfileKeys*	s/app.rowTicks.clear();//
R05	macro/Recorder.cpp	native tsan	/void RecordKeyPress/,/^}/s/std::lock_guard lock(app.macroMutex);//
R06	macro/Recorder.cpp	native	s/if (pause > MOUSE_DELAY_FLOOR_MS) app.events.push_back/if (false) app.events.push_back/
R07	macro/Recorder.cpp	native wine:KeyboardHookProc*	s/ || !app.recordedKeysDown\[vk\]) return;/) return;/
R08	macro/Recorder.cpp	native e2e:session	s/batch\[i\].vk |= AT_POSITION;//
M01	storage/MacroFile.cpp	native e2e:files	s/keyword == "HOLD_OFF_HOTKEY"/keyword == "HOLD_HOTKEY"/
M02	storage/MacroFile.cpp	native e2e:files	s/"MOUSEMODE", settings.mouseMode/"MOUSEMODE", settings.playMode/
M03	storage/MacroFile.cpp	native	s/ReadInt32(line, position, event.dx) \&\& ReadInt32(line, position, event.dy)/ReadInt32(line, position, event.dy) \&\& ReadInt32(line, position, event.dx)/
M04	storage/MacroFile.cpp	native	s/contents.speed = speed > 0 ? speed : SPEED_DEFAULT;/contents.speed = speed;/
M05	storage/MacroFile.cpp	native	s/if (line.empty()) continue;//
M06	storage/MacroFile.cpp	native	s/std::replace(bytes.begin(), bytes.end(), '\\n', ' ');//
M07	storage/MacroFile.cpp	native e2e:screen/session	s/keyword == "START_POS"/keyword == "START_POSITION"/
F01	storage/ProfileFile.cpp	native	s/return static_cast<uint32_t>(index) < PROFILE_SLOT_COUNT;/return static_cast<uint32_t>(index) <= PROFILE_SLOT_COUNT;/
F02	storage/ProfileFile.cpp	native e2e:profiles	s/"SCROLL_NEXT " + BindingText(profile.scrollNext)/"SCROLL_NEXT " + BindingText(profile.scrollPrev)/
F03	storage/ProfileFile.cpp	native	s/return line == PROFILE_MAGIC_V1 || /return /
T01	storage/TextCodec.cpp	native	s/if (!line.empty() \&\& line.back() == '\\r' \&\& end < cursor.text.size()) line.remove_suffix(1);//
T02	storage/TextCodec.cpp	native	s/code <= 0xFF ?/code < 0xFF ?/
T03	storage/TextCodec.cpp	native	s/if (\*first == '+' \&\& first + 1 < last \&\& \*(first + 1) != '-') ++first;//
S01	ui/windows/ProfileSwitching.cpp	native e2e:profile_switching/profiles	s/return found >= 0 ? found : ScanEnabled(slots, 0, 1);/return found;/
S02	ui/windows/ProfileSwitching.cpp	native	s/if (candidate.enabled \&\& MatchesKey/if (MatchesKey/
E01	macro/EventList.cpp	native	s/if (row >= app.events.size()) return false;/if (row > app.events.size()) return false;/
E02	macro/EventList.cpp	native	s/roundUp = digit >= 5;/roundUp = digit > 5;/
E03	macro/EventList.cpp	native	s/text += L"Mouse up btn=";/text += L"Mouse down btn=";/
E04	macro/EventList.cpp	native	s/if (!moving\[row\] || moving\[other\]) continue;/if (!moving[row]) continue;/
E05	macro/EventList.cpp	native wine:EventListWin.*	s/if (rows.empty() \&\& app.selectedRow/if (app.selectedRow/
E06	macro/EventList.cpp	wine:EventListWin.*	s/? after + 1 : app.events.size();/? after : app.events.size();/
E07	macro/EventList_win.cpp	wine:EventListWin.*	/void PasteRows/,/^}/s/if (!MacroEditable()) return;//
M08	storage/MacroFile.cpp	native e2e:files	s/if (settings.loopCount != 0) AppendKeywordNumber/if (true) AppendKeywordNumber/
P22	macro/Playback.cpp	native	s/count != 0 \&\& pass >= count;/count != 0 \&\& pass > count;/
P23	macro/Playback.cpp	native	s/bool ownCall = event.type != Move || !EventWaits(event);/bool ownCall = event.type != Move;/
A01	app/FocusKeys_win.cpp	wine:FocusKeys.*	s/if (radio \&\& inGroup \&\& !startsGroup)/if (false)/
X01	ui/windows/PathModel.cpp	native	s/^        previous = current;//
X02	ui/windows/PathModel.cpp	native	s/double weight = share \* share;/double weight = share;/
X03	ui/windows/PathModel.cpp	native	0,/SmoothOnce(points);/s/SmoothOnce(points);//
W01	input/RawMouse.cpp	native	s/return !chosen || chosen == device;/return chosen == device;/
W02	input/RawMouse.cpp	native e2e:modes	s/for (size_t i = 0; i < 5; ++i)/for (size_t i = 0; i < 4; ++i)/
W03	core/InputRecords.h	native	s/binding.code \* 2 == releaseFlag/binding.code == releaseFlag/
W04	input/RawMouse.cpp	native	s/packet.wheelDy = delta;/packet.wheelDy = delta \/ 120 * 120;/
N01	macro/Playback_win.cpp	e2e:modes	/void OnPlaybackDone/,/^}/s/ClipCursor(nullptr);//
N02	macro/Playback_win.cpp	e2e:session	s/(records\[i\].up ? KEYEVENTF_KEYUP : 0)/0/
N03	storage/FileIo_win.cpp	wine:FileIo.*	s/(attributes \& (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))/(attributes \& FILE_ATTRIBUTE_DIRECTORY)/
N04	storage/FileIo_win.cpp	wine:FileIo.*	s/< LEFTOVER_AGE_TICKS) continue;/> LEFTOVER_AGE_TICKS) continue;/
N05	ui/windows/MainWindowRefresh_win.cpp	e2e:files	s/RadioForMode(app.mouseMode, ID_FREE_MOUSE, ID_SCREEN_MOUSE)/RadioForMode(app.playMode, ID_FREE_MOUSE, ID_SCREEN_MOUSE)/
N06	app/MainWindow_win.cpp	e2e:files	s/^    app.speed = SPEED_DEFAULT;//
N10	storage/FileIo_win.cpp	wine:FileIo.*	s/GetFileType(file) == FILE_TYPE_DISK) return file;/true) return file;/
N11	app/SingleInstance_win.cpp	wine:FileIo.*	s/^    StopRecording();//
N12	storage/MacroFiles_win.cpp	e2e:files	s/if (WriteFileAtomically(path, bytes))/if (WriteFileAtomically(path, WriteMacroFile(app, ReadControlText(app.outputEdit, OUTPUT_TEXT_LIMIT))))/
F04	storage/ProfileFile.cpp	native	s/if (!IsDriveLetterPath(path)) path.clear();//
N07	input/RawMouse_win.cpp	e2e:modes	s/if (IsHoldModePlayRelease(app, packet.release)) app.stopRequested = true;//
N08	input/KeyboardHook_win.cpp	wine:KeyboardHookProc* e2e:recording/session	0,/capture = false;/s/capture = false;//
EOF
)

log() { echo "[mutate] $*"; }

prepare_scratch() {
    local commit
    commit=$(git -C "$ROOT" rev-parse "${KORVA_MUTATE_COMMIT:-HEAD}")
    if [ ! -d "$SCRATCH/.git" ] && [ ! -f "$SCRATCH/.git" ]; then
        mkdir -p "$(dirname "$SCRATCH")"
        git -C "$ROOT" worktree add --detach "$SCRATCH" "$commit" >/dev/null || exit 1
    fi
    git -C "$SCRATCH" checkout -q --detach "$commit" && git -C "$SCRATCH" checkout -q -- . || exit 1
    log "scratch $SCRATCH at $(git -C "$SCRATCH" log --oneline -1)"
}

WINE_READY=""
start_wine() {
    [ -n "$WINE_READY" ] && return 0
    korva_start_xvfb || return 1
    WINEPREFIX=$(korva_new_prefix)
    export WINEPREFIX
    wineserver -p 2>/dev/null
    wine cmd /c exit >/dev/null 2>&1 </dev/null
    WINE_READY=1
}
stop_wine() {
    [ -n "$WINE_READY" ] || return 0
    wineserver -k 2>/dev/null
    rm -rf "$WINEPREFIX"
    unset WINEPREFIX
    korva_stop_xvfb
    WINE_READY=""
}

build_native() { cmake --build "$KORVA_BUILD/native" --target korva_tests >/dev/null 2>&1; }
build_windows() {
    cmake --build "$KORVA_BUILD/windows" --target KorvaMacro korva_probe korva_wine_tests >/dev/null 2>&1
}

# Runs one layer; true when the tests pass (the fault escaped this layer).
run_layer() {
    local layer=$1 name
    case $layer in
    native)
        build_native || return 2
        timeout 300 "$KORVA_BUILD/native/korva_tests" >"$SCRATCH/mutant.log" 2>&1
        ;;
    tsan)
        [ -d "$KORVA_BUILD/tsan" ] || return 0
        cmake --build "$KORVA_BUILD/tsan" --target korva_tests >/dev/null 2>&1 || return 2
        TSAN_OPTIONS=halt_on_error=1 timeout 600 "$KORVA_BUILD/tsan/korva_tests" >"$SCRATCH/mutant.log" 2>&1
        ;;
    wine:*)
        build_windows || return 2
        start_wine || return 2
        timeout 300 wine "$KORVA_BUILD/windows/korva_wine_tests.exe" --gtest_filter="${layer#wine:}" \
            >"$SCRATCH/mutant.log" 2>&1 </dev/null
        ;;
    e2e:*)
        build_windows || return 2
        local names=${layer#e2e:}
        for name in ${names//\// }; do
            [ -f "$SCRATCH/tests/e2e/test_$name.sh" ] && break
        done
        stop_wine
        timeout 900 bash "$SCRATCH/tests/e2e/test_$name.sh" >"$SCRATCH/mutant.log" 2>&1
        ;;
    esac
}

prepare_scratch
cd "$SCRATCH" || exit 1
if [ "${1:-}" = "--check" ]; then
    while IFS=$'\t' read -r id file layers script; do
        sed -i "$script" "$file"
        git diff --quiet -- "$file" && echo "$id does not apply" || echo "$id applies to $file"
        git checkout -q -- "$file"
    done <<<"$FAULTS"
    exit 0
fi
source "$SCRATCH/scripts/common.sh"
log "building the unbroken trees"
cmake -S . -B "$KORVA_BUILD/native" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
cmake -S . -B "$KORVA_BUILD/windows" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE="$SCRATCH/cmake/mingw-w64-x86_64.cmake" >/dev/null || exit 1
# Only what the chosen faults' layers need.
LAYERS_WANTED=$(awk -F'\t' -v ids=" $* " 'ids == "  " || index(ids, " " $1 " ") { print $3 }' <<<"$FAULTS")
[ -n "${KORVA_MUTATE_FOLLOW:-}" ] || ! grep -q native <<<"$LAYERS_WANTED" || build_native || exit 1
! grep -qE 'wine|e2e' <<<"$LAYERS_WANTED" || build_windows || exit 1
RESULTS="$SCRATCH/mutation-results.txt"
: >"$RESULTS"
caught=0
total=0
while IFS=$'\t' read -r id file layers script; do
    [ -n "$id" ] || continue
    if [ $# -gt 0 ] && [[ " $* " != *" $id "* ]]; then continue; fi
    total=$((total + 1))
    if [ -n "${KORVA_MUTATE_FOLLOW:-}" ]; then
        until grep -q "^$id " "$KORVA_MUTATE_FOLLOW" 2>/dev/null; do sleep 10; done
        if grep -q "^$id caught by native" "$KORVA_MUTATE_FOLLOW"; then
            caught=$((caught + 1))
            echo "$id caught by native (the same unit tests)" | tee -a "$RESULTS"
            continue
        fi
        layers=${layers#native}
    fi
    sed -i "$script" "$file"
    if git diff --quiet -- "$file"; then
        echo "$id BROKEN-PATCH (the pattern no longer matches $file)" | tee -a "$RESULTS"
        continue
    fi
    verdict="ESCAPED ($layers)"
    for layer in $layers; do
        run_layer "$layer"
        rc=$?
        if [ "$rc" -eq 2 ]; then
            verdict="BUILD-FAILED at $layer"
            break
        elif [ "$rc" -ne 0 ]; then
            verdict="caught by $layer"
            caught=$((caught + 1))
            break
        fi
    done
    git checkout -q -- "$file"
    echo "$id $verdict" | tee -a "$RESULTS"
done <<<"$FAULTS"
stop_wine
# Leave the scratch trees built from the unbroken sources.
[ -n "${KORVA_MUTATE_FOLLOW:-}" ] || ! grep -q native <<<"$LAYERS_WANTED" || build_native
! grep -qE 'wine|e2e' <<<"$LAYERS_WANTED" || build_windows
echo "caught $caught of $total" | tee -a "$RESULTS"
