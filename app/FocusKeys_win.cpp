// Keyboard focus in the main window over the reading order of the control table. The main window
// is no dialog, and the dialog manager would follow the order the controls were made in, which is
// not the order they are read in.
#include "app/FocusKeys_win.h"

#include "core/AppState.h"
#include "ui/windows/ControlTable.h"

#include <vector>

namespace {

bool IsRadio(HWND control) {
    return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// The stops in reading order: a control, or the buttons of one radio group. A group begins at a
// radio button that starts a group, or at one that follows no radio button.
std::vector<std::vector<HWND>> FocusStops() {
    std::vector<std::vector<HWND>> stops;
    bool inGroup = false;
    for (int32_t id : MainTabOrder()) {
        HWND control = GetDlgItem(app.mainWindow, id);
        if (!control) continue;
        bool radio = IsRadio(control);
        bool startsGroup = (GetWindowLongW(control, GWL_STYLE) & WS_GROUP) != 0;
        if (radio && inGroup && !startsGroup)
            stops.back().push_back(control);
        else
            stops.push_back({control});
        inGroup = radio;
    }
    return stops;
}

// Where a stop takes the focus: the checked button of a group, else its first.
HWND StopTarget(const std::vector<HWND>& stop) {
    for (HWND control : stop) {
        if (SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED) return control;
    }
    return stop.front();
}

// The control's own style says whether it is shown, so this holds in a window not shown yet.
bool TakesFocus(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) && IsWindowEnabled(control);
}

void MoveFocusAcross(HWND focus, bool backwards) {
    std::vector<std::vector<HWND>> stops = FocusStops();
    if (stops.empty()) return;
    size_t count = stops.size();
    // From the main window itself, or a control that is no stop, Tab starts at the first stop.
    size_t current = backwards ? 0 : count - 1;
    for (size_t i = 0; i < count; ++i) {
        for (HWND control : stops[i]) {
            if (control == focus) current = i;
        }
    }
    for (size_t step = 1; step <= count; ++step) {
        size_t next = backwards ? (current + count - step) % count : (current + step) % count;
        HWND target = StopTarget(stops[next]);
        if (!TakesFocus(target)) continue;
        SetFocus(target);
        // As in a dialog, an edit box reached by Tab has its text selected for typing over.
        if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
            SendMessageW(target, EM_SETSEL, 0, -1);
        return;
    }
}

// The arrows move to the next button of the group and check it, as a click would.
void MoveWithinRadioGroup(HWND focus, bool backwards) {
    for (const std::vector<HWND>& stop : FocusStops()) {
        for (size_t i = 0; i < stop.size(); ++i) {
            if (stop[i] != focus) continue;
            HWND next = stop[backwards ? (i + stop.size() - 1) % stop.size() : (i + 1) % stop.size()];
            SetFocus(next);
            SendMessageW(next, BM_CLICK, 0, 0);
            return;
        }
    }
}

} // namespace

bool HandleFocusKeys(const MSG& message) {
    if (message.message != WM_KEYDOWN || !app.mainWindow) return false;
    HWND target = message.hwnd;
    if (target != app.mainWindow && !IsChild(app.mainWindow, target)) return false;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return false;
    WPARAM key = message.wParam;
    if (key == VK_TAB) {
        MoveFocusAcross(target, GetKeyState(VK_SHIFT) < 0);
        return true;
    }
    bool arrow = key == VK_UP || key == VK_DOWN || key == VK_LEFT || key == VK_RIGHT;
    if (!arrow || target == app.mainWindow || !IsRadio(target)) return false;
    MoveWithinRadioGroup(target, key == VK_UP || key == VK_LEFT);
    return true;
}
