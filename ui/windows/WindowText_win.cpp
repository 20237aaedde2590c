// Control text and state helpers shared by every window.
#include "ui/windows/WindowText_win.h"

#include "ui/windows/ControlTable.h"

#include <vector>

namespace {

// Both labels are read with 255 characters at most, as every other reader of them does.
constexpr int NAME_TEXT_LIMIT = 255;

} // namespace

void SetControlText(HWND control, const std::wstring& text) {
    if (control) SetWindowTextW(control, text.c_str());
}

std::wstring ReadControlText(HWND control, int limit) {
    if (!control || limit <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(limit), L'\0');
    int length = GetWindowTextW(control, buffer.data(), limit);
    return std::wstring(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

void ShowStatus(const std::wstring& text) {
    if (!app.statusLabel) return;
    bool notice = text != LISTENING_TEXT;
    SetWindowPos(app.statusLabel, nullptr, STATUS_X, notice ? STATUS_NOTICE_Y : STATUS_Y,
                 notice ? STATUS_NOTICE_WIDTH : STATUS_WIDTH, notice ? STATUS_NOTICE_HEIGHT : STATUS_HEIGHT,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SetControlText(app.statusLabel, text);
}

MacroNames ShownMacroNames() {
    return {true, ReadControlText(app.outputEdit, NAME_TEXT_LIMIT),
            ReadControlText(app.profileLabel, NAME_TEXT_LIMIT), app.activeProfile};
}

void CheckRadioInRange(HWND window, int first, int last, int checked) {
    if (!window) return;
    for (int id = first; id <= last; ++id)
        CheckDlgButton(window, id, id == checked ? BST_CHECKED : BST_UNCHECKED);
}
