// Answers the system's file dialogs in the Wine tests the way a user would: a second thread waits
// for the modal dialog of this process, types a file name into it and presses OK (or Cancel), and
// answers a following confirmation box with Yes.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

struct FileDialogAnswer {
    std::wstring fileName; // typed into the file name box; empty presses Cancel
    std::atomic<bool> dialogSeen{false};
    std::atomic<bool> confirmationSeen{false};
    HANDLE thread = nullptr;
};

// Starts answering the next file dialog; call FinishFileDialogAnswer after the dialog call returned.
void StartFileDialogAnswer(FileDialogAnswer& answer, const std::wstring& fileName);
// Waits for the answering thread; true when it saw and answered a file dialog.
bool FinishFileDialogAnswer(FileDialogAnswer& answer);
