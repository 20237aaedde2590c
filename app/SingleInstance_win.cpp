// The named mutex that marks a running program, the path sent to it with WM_COPYDATA, and the
// running program's side: it opens the file and comes to the front.
#include "app/SingleInstance_win.h"

#include "core/AppState.h"
#include "macro/Recorder_win.h"
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

// True when the running copy took the path (an empty one brings it to the front).
bool SendPath(HWND running, const std::wstring& full) {
    // Only the process the user just started may give the foreground away.
    DWORD processId = 0;
    GetWindowThreadProcessId(running, &processId);
    AllowSetForegroundWindow(processId);
    COPYDATASTRUCT data{OPEN_PATH_MARK, static_cast<DWORD>((full.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(full.c_str())};
    DWORD_PTR result = FALSE;
    return SendMessageTimeoutW(running, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                               SEND_TIMEOUT_MS, &result) &&
           result == TRUE;
}

void ReportFailedHandOver(const std::wstring& full) {
    std::wstring text = L"KorvaMacro is already running but did not answer";
    text += full.empty() ? L"." : L" and did not open\n" + full;
    text += L"\n\nIf it runs as administrator, start this one as administrator too, or use Add in the "
            L"running program.";
    MessageBoxW(nullptr, text.c_str(), L"KorvaMacro", MB_OK | MB_ICONWARNING);
}

} // namespace

bool HandOverToRunningProgram(const std::wstring& path) {
    // Owned by this copy's main thread for its whole run: a later start that finds it owned knows a
    // copy runs, and is handed it by the system once that copy has ended.
    HANDLE mutex = CreateMutexW(nullptr, TRUE, RUNNING_MUTEX_NAME);
    DWORD error = GetLastError();
    if (mutex && error != ERROR_ALREADY_EXISTS) return false;
    // A copy running as administrator keeps its mutex from the others: it runs all the same.
    if (!mutex && error != ERROR_ACCESS_DENIED) return false;
    std::wstring full = FullPathOf(path);
    for (int attempt = 0; attempt < FIND_WINDOW_TRIES; ++attempt) {
        HWND running = FindWindowW(MAIN_CLASS_NAME, nullptr);
        if (running && SendPath(running, full)) {
            if (mutex) CloseHandle(mutex);
            return true;
        }
        // A window that is still there refused the path; one that is gone belonged to a copy
        // that was closing, and this start takes its place once it has ended.
        if (running && IsWindow(running)) {
            ReportFailedHandOver(full);
            if (mutex) CloseHandle(mutex);
            return true;
        }
        if (!mutex)
            Sleep(FIND_WINDOW_PAUSE_MS);
        else if (WaitForSingleObject(mutex, FIND_WINDOW_PAUSE_MS) != WAIT_TIMEOUT)
            return false; // the other copy has ended and this one owns the mutex now
    }
    // No running window answered: this copy runs, rather than leave the user with nothing.
    return false;
}

void AllowHandOversFromLowerIntegrity(HWND window) {
    // A copy started as administrator would otherwise never see WM_COPYDATA from a copy started
    // normally; AcceptHandedOverPath checks what it gets.
    ChangeWindowMessageFilterEx(window, WM_COPYDATA, MSGFLT_ALLOW, nullptr);
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
    if (path.empty()) return;
    // The recording ends as it is and stays in the undo history; the file does not splice it.
    StopRecording();
    OpenMacroFile(app.mainWindow, path);
}
