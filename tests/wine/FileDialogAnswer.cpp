// The dialog-answering thread of the Wine tests.
#include "tests/wine/FileDialogAnswer.h"

namespace {

constexpr int WAIT_STEP_MS = 50;
constexpr int WAIT_LIMIT_MS = 15000;
constexpr int STUCK_AFTER_MS = 3000;

struct DialogSearch {
    HWND found = nullptr;
    bool wantFileDialog = true;
};

HWND FirstVisibleEdit(HWND dialog) {
    HWND found = nullptr;
    EnumChildWindows(
        dialog,
        [](HWND child, LPARAM result) {
            wchar_t name[16] = {};
            GetClassNameW(child, name, 16);
            if (lstrcmpiW(name, L"Edit") != 0 || !IsWindowVisible(child)) return TRUE;
            *reinterpret_cast<HWND*>(result) = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// A visible dialog of this process: a file dialog has a file name box, a message box has none.
HWND FindOwnDialog(bool fileDialog) {
    DialogSearch search{nullptr, fileDialog};
    EnumWindows(
        [](HWND window, LPARAM data) {
            auto* search = reinterpret_cast<DialogSearch*>(data);
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (lstrcmpW(name, L"#32770") != 0) return TRUE;
            if ((FirstVisibleEdit(window) != nullptr) != search->wantFileDialog) return TRUE;
            search->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

DWORD WINAPI AnswerDialogs(void* data) {
    auto* answer = static_cast<FileDialogAnswer*>(data);
    HWND dialog = nullptr;
    for (int waited = 0; !dialog && waited < WAIT_LIMIT_MS; waited += WAIT_STEP_MS) {
        Sleep(WAIT_STEP_MS);
        dialog = FindOwnDialog(true);
    }
    if (!dialog) return 0;
    answer->dialogSeen = true;
    // Posted, not sent: OK may open a confirmation box inside the dialog's own message loop.
    if (answer->fileName.empty()) {
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    } else {
        SendMessageW(FirstVisibleEdit(dialog), WM_SETTEXT, 0,
                     reinterpret_cast<LPARAM>(answer->fileName.c_str()));
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    }
    // A dialog that stays open after its answer (a refused name) is cancelled, so the call returns.
    int quiet = 0;
    for (int waited = 0; IsWindow(dialog) && waited < WAIT_LIMIT_MS; waited += WAIT_STEP_MS) {
        Sleep(WAIT_STEP_MS);
        quiet += WAIT_STEP_MS;
        if (HWND box = FindOwnDialog(false)) {
            answer->confirmationSeen = true;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
            quiet = 0;
        } else if (quiet >= STUCK_AFTER_MS) {
            PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            quiet = 0;
        }
    }
    return 0;
}

} // namespace

void StartFileDialogAnswer(FileDialogAnswer& answer, const std::wstring& fileName) {
    answer.fileName = fileName;
    answer.dialogSeen = false;
    answer.confirmationSeen = false;
    answer.thread = CreateThread(nullptr, 0, AnswerDialogs, &answer, 0, nullptr);
}

bool FinishFileDialogAnswer(FileDialogAnswer& answer) {
    if (answer.thread) {
        WaitForSingleObject(answer.thread, WAIT_LIMIT_MS * 2);
        CloseHandle(answer.thread);
        answer.thread = nullptr;
    }
    return answer.dialogSeen;
}
