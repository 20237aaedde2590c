// Control text and state helpers shared by every window.
#include "ui/windows/WindowText_win.h"

#include <vector>

void SetControlText(HWND control, const std::wstring& text) {
    if (control) SetWindowTextW(control, text.c_str());
}

std::wstring ReadControlText(HWND control, int limit) {
    if (!control || limit <= 0) return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(limit), L'\0');
    int length = GetWindowTextW(control, buffer.data(), limit);
    return std::wstring(buffer.data(), length > 0 ? static_cast<size_t>(length) : 0);
}

void CheckRadioInRange(HWND window, int first, int last, int checked) {
    if (!window) return;
    for (int id = first; id <= last; ++id)
        CheckDlgButton(window, id, id == checked ? BST_CHECKED : BST_UNCHECKED);
}
