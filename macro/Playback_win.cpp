// Starting playback and tidying up after it, and the real system calls the engine injects with.
#include "macro/Playback_win.h"

#include "app/AppState.h"
#include "app/ControlTable.h"
#include "app/WindowText_win.h"

#include <mmsystem.h>

#include <vector>

namespace {

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, which older SDK headers lack.
constexpr DWORD HIGH_RESOLUTION_TIMER = 0x00000002;

static_assert(sizeof(INPUT) == 40);
static_assert(MOUSE_FLAG_MOVE == MOUSEEVENTF_MOVE && MOUSE_FLAG_LEFTDOWN == MOUSEEVENTF_LEFTDOWN &&
              MOUSE_FLAG_LEFTUP == MOUSEEVENTF_LEFTUP && MOUSE_FLAG_RIGHTDOWN == MOUSEEVENTF_RIGHTDOWN &&
              MOUSE_FLAG_RIGHTUP == MOUSEEVENTF_RIGHTUP && MOUSE_FLAG_MIDDLEDOWN == MOUSEEVENTF_MIDDLEDOWN &&
              MOUSE_FLAG_MIDDLEUP == MOUSEEVENTF_MIDDLEUP && MOUSE_FLAG_XDOWN == MOUSEEVENTF_XDOWN &&
              MOUSE_FLAG_XUP == MOUSEEVENTF_XUP && MOUSE_DATA_XBUTTON1 == XBUTTON1 &&
              MOUSE_DATA_XBUTTON2 == XBUTTON2);

// SendInput returns how many records it inserted: 0 while the secure desktop (a UAC prompt,
// Ctrl+Alt+Del, the lock screen) is up. Input that UIPI drops still counts as inserted.
bool SendMouseRecord(const MouseInputRecord& record) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = record.dx;
    input.mi.dy = record.dy;
    input.mi.mouseData = record.mouseData;
    input.mi.dwFlags = record.flags;
    input.mi.dwExtraInfo = INJECTED_INPUT_MARK;
    return SendInput(1, &input, sizeof(INPUT)) == 1;
}

// Keys that Windows sends with an E0 scan code. MapVirtualKeyW reports the E0 for most of them but
// not on every system and layout (NumLock and Pause-Break's Ctrl form never), so this list decides too.
bool IsExtendedKey(uint16_t vk) {
    switch (vk) {
    case VK_CANCEL:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
    case VK_SNAPSHOT:
    case VK_INSERT:
    case VK_DELETE:
    case VK_LWIN:
    case VK_RWIN:
    case VK_APPS:
    case VK_DIVIDE:
    case VK_NUMLOCK:
    case VK_RCONTROL:
    case VK_RMENU:
        return true;
    default:
        // The browser, volume and media keys.
        return vk >= VK_BROWSER_BACK && vk <= VK_LAUNCH_APP2;
    }
}

// Games, remote-desktop and virtual-machine clients read the scan code, ordinary programs the
// virtual-key code: each record carries both.
bool SendKeyRecords(const KeyInputRecord* records, size_t count) {
    std::vector<INPUT> inputs(count);
    for (size_t i = 0; i < count; ++i) {
        UINT scan = MapVirtualKeyW(records[i].vk, MAPVK_VK_TO_VSC_EX);
        bool extended = (scan >> 8) == 0xE0 || IsExtendedKey(records[i].vk);
        KEYBDINPUT& key = inputs[i].ki;
        inputs[i].type = INPUT_KEYBOARD;
        key.wVk = records[i].vk;
        key.wScan = static_cast<WORD>(scan & 0xFF);
        key.dwFlags = (records[i].up ? KEYEVENTF_KEYUP : 0) | (extended ? KEYEVENTF_EXTENDEDKEY : 0);
        key.dwExtraInfo = INJECTED_INPUT_MARK;
    }
    return SendInput(static_cast<UINT>(count), inputs.data(), sizeof(INPUT)) == count;
}

ScreenPoint CursorPos() {
    POINT point{};
    GetCursorPos(&point);
    return {point.x, point.y};
}

void MoveCursorTo(ScreenPoint point) {
    SetCursorPos(point.x, point.y);
}

void ConfineCursor(ScreenPoint pixel) {
    RECT rect{pixel.x, pixel.y, pixel.x + 1, pixel.y + 1};
    ClipCursor(&rect);
}

void FreeCursor() {
    ClipCursor(nullptr);
}

ScreenPoint ScreenCenter() {
    return {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2};
}

// A high-resolution waitable timer (Windows 10 1803 on) keeps its millisecond when Windows lowers
// the timer resolution of a hidden or minimised program; elsewhere Sleep(1) at timeBeginPeriod(1).
// One per thread, closed when the thread ends.
struct WaitTimer {
    HANDLE handle = CreateWaitableTimerExW(nullptr, nullptr, HIGH_RESOLUTION_TIMER, TIMER_ALL_ACCESS);
    ~WaitTimer() {
        if (handle) CloseHandle(handle);
    }
};

void SleepOneMs() {
    thread_local WaitTimer timer;
    LARGE_INTEGER due;
    due.QuadPart = -10000; // relative, in 100 ns units
    if (!timer.handle || !SetWaitableTimer(timer.handle, &due, 0, nullptr, nullptr, FALSE)) {
        Sleep(1);
        return;
    }
    WaitForSingleObject(timer.handle, INFINITE);
}

double PerformanceCounterMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

void RepaintPathEditor() {
    HWND editor = app.pathEditorWindow.load();
    if (editor && IsWindow(editor)) InvalidateRect(editor, nullptr, FALSE);
}

void PostPlaybackDone() {
    if (app.mainWindow) PostMessageW(app.mainWindow, WM_APP_PLAYBACK_DONE, 0, 0);
}

bool CreatePlaybackThread(void* mainWindowHandle) {
    app.playbackThread = CreateThread(nullptr, 0, PlaybackThreadProc, mainWindowHandle, 0, nullptr);
    return app.playbackThread != nullptr;
}

// A function that newer Windows versions have, or null; the program must still start without it.
template <typename Function> Function SystemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                  : nullptr;
}

using SetThreadDpiContext = DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT);

// The program declares no DPI awareness, so on a scaled display Windows scales the cursor calls
// for it while raw input and relative SendInput stay in device pixels. Playback's cursor calls are
// made per-monitor aware for as long as this lives, so every mouse mode moves physical pixels.
class PhysicalPixels {
  public:
    PhysicalPixels()
        : set(SystemFunction<SetThreadDpiContext>(L"user32.dll", "SetThreadDpiAwarenessContext")) {
        if (!set) return; // before Windows 10 1607
        previous = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
        if (!previous) previous = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE); // before 1703
    }
    ~PhysicalPixels() {
        if (previous) set(previous);
    }
    PhysicalPixels(const PhysicalPixels&) = delete;
    PhysicalPixels& operator=(const PhysicalPixels&) = delete;

  private:
    SetThreadDpiContext set;
    DPI_AWARENESS_CONTEXT previous = nullptr;
};

// The mandatory integrity level (SECURITY_MANDATORY_*_RID) of a process, `unreadable` when its
// token cannot be read.
DWORD ProcessIntegrity(HANDLE process, DWORD unreadable) {
    HANDLE token = nullptr;
    if (!process || !OpenProcessToken(process, TOKEN_QUERY, &token)) return unreadable;
    DWORD level = unreadable;
    alignas(TOKEN_MANDATORY_LABEL) BYTE buffer[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_MANDATORY_LABEL)];
    DWORD size = 0;
    if (GetTokenInformation(token, TokenIntegrityLevel, buffer, sizeof(buffer), &size)) {
        PSID sid = reinterpret_cast<TOKEN_MANDATORY_LABEL*>(buffer)->Label.Sid;
        level = *GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1u);
    }
    CloseHandle(token);
    return level;
}

// Windows drops input to a window of higher integrity (UIPI) and SendInput still reports success,
// so the only sign is this check at the start.
bool ForegroundRunsAboveUs() {
    HWND foreground = GetForegroundWindow();
    DWORD processId = 0;
    if (!foreground || !GetWindowThreadProcessId(foreground, &processId) ||
        processId == GetCurrentProcessId())
        return false;
    DWORD own = ProcessIntegrity(GetCurrentProcess(), SECURITY_MANDATORY_MEDIUM_RID);
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    // A token this process may not read belongs to one above it.
    DWORD theirs = ProcessIntegrity(process, SECURITY_MANDATORY_HIGH_RID);
    if (process) CloseHandle(process);
    return theirs > own;
}

// The resting text at its place in the control table, or a notice in two lines above it.
void ShowStatus(const wchar_t* text) {
    if (!app.statusLabel) return;
    for (const ControlSpec& spec : MainControlTable()) {
        if (spec.handle != &AppState::statusLabel) continue;
        bool notice = text != LISTENING_TEXT;
        SetWindowPos(app.statusLabel, nullptr, spec.x, notice ? STATUS_NOTICE_Y : spec.y,
                     notice ? STATUS_NOTICE_WIDTH : spec.width, notice ? STATUS_NOTICE_HEIGHT : spec.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetControlText(app.statusLabel, text);
}

} // namespace

PlaybackIo SystemPlaybackIo() {
    return {SendMouseRecord,      SendKeyRecords,    CursorPos,       MoveCursorTo,
            ConfineCursor,        FreeCursor,        ScreenCenter,    SleepOneMs,
            PerformanceCounterMs, RepaintPathEditor, PostPlaybackDone};
}

void KeepTimerResolution() {
    timeBeginPeriod(1);
    // Since Windows 11 a hidden or minimised program loses its timer resolution unless it opts out.
    using SetInformation = BOOL(WINAPI*)(HANDLE, PROCESS_INFORMATION_CLASS, LPVOID, DWORD);
    auto set = SystemFunction<SetInformation>(L"kernel32.dll", "SetProcessInformation");
    if (!set) return;
    PROCESS_POWER_THROTTLING_STATE state{};
    state.Version = PROCESS_POWER_THROTTLING_CURRENT_VERSION;
    state.ControlMask = PROCESS_POWER_THROTTLING_IGNORE_TIMER_RESOLUTION;
    state.StateMask = 0; // controlled and off: the requested resolution is kept
    set(GetCurrentProcess(), ProcessPowerThrottling, &state, sizeof(state));
}

DWORD WINAPI PlaybackThreadProc(LPVOID) {
    PhysicalPixels pixels;
    RunPlayback(SystemPlaybackIo());
    return 0;
}

void StartPlayback(HWND mainWindowHandle) {
    bool blocked = ForegroundRunsAboveUs();
    {
        PhysicalPixels pixels; // the start point and the confinement
        if (!LaunchPlayback(SystemPlaybackIo(), CreatePlaybackThread, mainWindowHandle)) return;
    }
    ShowStatus(blocked ? ELEVATED_WINDOW_TEXT : LISTENING_TEXT);
    SetControlText(app.playButton, L"Stop");
    if (app.overlayPlayLabel) {
        SetWindowTextW(app.overlayPlayLabel, L"PLAY");
        InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
    }
}

void OnPlaybackDone() {
    app.playing = false;
    app.stopRequested = false;
    ClipCursor(nullptr);
    if (app.playbackThread) {
        CloseHandle(app.playbackThread);
        app.playbackThread = nullptr;
    }
    if (app.playbackInputRefused) ShowStatus(INPUT_REFUSED_TEXT);
    SetControlText(app.playButton, L"Play");
    if (app.overlayPlayLabel) {
        SetWindowTextW(app.overlayPlayLabel, L"NO PLAY");
        InvalidateRect(app.overlayPlayLabel, nullptr, TRUE);
    }
}
