// A small console tool the end-to-end scripts run inside the same Wine prefix to look at the
// program from outside: where a window's client area is, what its controls say, where the cursor is.
//   korva_probe origin TITLE      client origin in screen coordinates: "x y"
//   korva_probe client TITLE      size of the window's client area: "w h"
//   korva_probe texts TITLE       one line per child: id, class, text
//   korva_probe list TITLE        the items of the window's list boxes, one per line
//   korva_probe checked TITLE     the IDs of the window's checked buttons, one per line
//   korva_probe down VK           exit code 0 when the key or button is logically down
//   korva_probe close TITLE       posts WM_CLOSE to the window
//   korva_probe exists TITLE      exit code 0 when a top-level window with that title exists
//   korva_probe clicks N SECONDS  "x y" of the cursor at each of the next N replayed (injected)
//                                 left-button presses, seen through a low-level mouse hook
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

void PrintWide(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    std::printf("%s\n", out.c_str());
}

std::wstring TextOf(HWND window) {
    wchar_t buffer[1024] = {};
    SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::string ClassOf(HWND window) {
    char buffer[64] = {};
    GetClassNameA(window, buffer, 64);
    return buffer;
}

std::wstring ListItem(HWND list, WPARAM index) {
    LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
    std::wstring item(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(item.data()));
    item.resize(wcslen(item.c_str()));
    return item;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

int clicksWanted = 0;

LRESULT CALLBACK ReplayedClickHook(int code, WPARAM message, LPARAM data) {
    const auto* mouse = reinterpret_cast<const MSLLHOOKSTRUCT*>(data);
    if (code == HC_ACTION && message == WM_LBUTTONDOWN && (mouse->flags & LLMHF_INJECTED)) {
        std::printf("%ld %ld\n", mouse->pt.x, mouse->pt.y);
        std::fflush(stdout);
        if (--clicksWanted == 0) PostQuitMessage(0);
    }
    return CallNextHookEx(nullptr, code, message, data);
}

int PrintReplayedClicks(int count, int seconds) {
    clicksWanted = count;
    if (!SetWindowsHookExW(WH_MOUSE_LL, ReplayedClickHook, GetModuleHandleW(nullptr), 0)) return 1;
    SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER)
        DispatchMessageW(&message);
    return clicksWanted == 0 ? 0 : 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    std::wstring command = argv[1];
    if (command == L"down") return GetAsyncKeyState(_wtoi(argv[2])) & 0x8000 ? 0 : 1;
    if (command == L"clicks") return PrintReplayedClicks(_wtoi(argv[2]), argc > 3 ? _wtoi(argv[3]) : 30);
    HWND window = FindWindowW(nullptr, argv[2]);
    if (command == L"exists") return window ? 0 : 1;
    if (!window) return 1;
    RECT r{};
    POINT p{0, 0};
    if (command == L"origin") {
        ClientToScreen(window, &p);
        std::printf("%ld %ld\n", p.x, p.y);
    } else if (command == L"client") {
        GetClientRect(window, &r);
        std::printf("%ld %ld\n", r.right, r.bottom);
    } else if (command == L"close") {
        PostMessageW(window, WM_CLOSE, 0, 0);
    } else if (command == L"texts") {
        for (HWND child : Children(window)) {
            std::printf("%d %s ", GetDlgCtrlID(child), ClassOf(child).c_str());
            PrintWide(TextOf(child));
        }
    } else if (command == L"list") {
        for (HWND child : Children(window)) {
            bool listBox = _stricmp(ClassOf(child).c_str(), "ListBox") == 0;
            for (LRESULT i = 0, count = listBox ? SendMessageW(child, LB_GETCOUNT, 0, 0) : 0; i < count; ++i)
                PrintWide(ListItem(child, static_cast<WPARAM>(i)));
        }
    } else if (command == L"checked") {
        for (HWND child : Children(window))
            if (_stricmp(ClassOf(child).c_str(), "Button") == 0 &&
                SendMessageW(child, BM_GETCHECK, 0, 0) == BST_CHECKED)
                std::printf("%d\n", GetDlgCtrlID(child));
    } else {
        return 2;
    }
    return 0;
}
