// The named mutex that marks a running program, the path sent to it with WM_COPYDATA, and the
// running program's side: it opens the file and comes to the front.
#include "app/SingleInstance_win.h"

#include "core/AppState.h"
#include "storage/MacroFiles_win.h"

namespace {

constexpr wchar_t RUNNING_MUTEX_NAME[] = L"Local\\KorvaMacro.Running";
// Marks a WM_COPYDATA as a handed-over path ("KMOP").
constexpr ULONG_PTR OPEN_PATH_MARK = 0x4B4D4F50;
constexpr DWORD PATH_CHAR_LIMIT = 32767;
// The first copy may still be creating its window.
constexpr int FIND_WINDOW_TRIES = 50;
constexpr DWORD FIND_WINDOW_PAUSE_MS = 100;
constexpr UINT SEND_TIMEOUT_MS = 5000;

std::wstring FullPathOf(const std::wstring& path) {
    if (path.empty()) return path;
    std::wstring full(MAX_PATH, L'\0');
    DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length > full.size()) {
        full.resize(length);
        length = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    }
    if (length == 0 || length > full.size()) return path;
    full.resize(length);
    return full;
}

} // namespace

bool HandOverToRunningProgram(const std::wstring& path) {
    // Kept open for the whole run: the mutex exists exactly as long as a copy runs.
    HANDLE mutex = CreateMutexW(nullptr, FALSE, RUNNING_MUTEX_NAME);
    if (!mutex || GetLastError() != ERROR_ALREADY_EXISTS) return false;
    CloseHandle(mutex);
    HWND running = nullptr;
    for (int attempt = 0; attempt < FIND_WINDOW_TRIES && !running; ++attempt) {
        running = FindWindowW(MAIN_CLASS_NAME, nullptr);
        if (!running) Sleep(FIND_WINDOW_PAUSE_MS);
    }
    if (!running) return true;
    // Only the process the user just started may give the foreground away.
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    AllowSetForegroundWindow(processId);
    std::wstring full = FullPathOf(path);
    COPYDATASTRUCT data{OPEN_PATH_MARK, static_cast<DWORD>((full.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(full.c_str())};
    DWORD_PTR result = 0;
    SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                        SEND_TIMEOUT_MS, &result);
    return true;
}

LRESULT AcceptHandedOverPath(const COPYDATASTRUCT* data) {
    if (!data || data->dwData != OPEN_PATH_MARK || data->cbData % sizeof(wchar_t) != 0) return FALSE;
    DWORD chars = data->cbData / sizeof(wchar_t);
    if (chars > PATH_CHAR_LIMIT || (chars > 0 && !data->lpData)) return FALSE;
    std::wstring path(static_cast<const wchar_t*>(data->lpData), chars);
    path.resize(wcsnlen(path.c_str(), path.size()));
    app.pendingOpenPath = path;
    // The sender waits for this message to return: the file opens, and may show its message box,
    // after it.
    PostMessageW(app.mainWindow, WM_APP_OPEN_MACRO, 0, 0);
    return TRUE;
}

void OpenPendingMacro() {
    if (!app.mainWindow) return;
    if (IsIconic(app.mainWindow)) ShowWindow(app.mainWindow, SW_RESTORE);
    SetForegroundWindow(app.mainWindow);
    std::wstring path;
    path.swap(app.pendingOpenPath);
    if (!path.empty()) OpenMacroFile(app.mainWindow, path);
}
