// Run-time resolved system functions for playback: the DPI context, the integrity check, the timer
// resolution and the high-resolution waits.
#include "macro/PlaybackSystem_win.h"

#include <mmsystem.h>

namespace {

// CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, which older SDK headers lack.
constexpr DWORD HIGH_RESOLUTION_TIMER = 0x00000002;

// A function that newer Windows versions have, or null; the program must still start without it.
template <typename Function> Function SystemFunction(const wchar_t* module, const char* name) {
    HMODULE handle = GetModuleHandleW(module);
    return handle ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
                  : nullptr;
}

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

} // namespace

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

PhysicalPixels::PhysicalPixels()
    : set(SystemFunction<SetThreadDpiContext>(L"user32.dll", "SetThreadDpiAwarenessContext")) {
    if (!set) return; // before Windows 10 1607
    previous = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    if (!previous) previous = set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE); // before 1703, and Wine
}

PhysicalPixels::~PhysicalPixels() {
    if (previous) set(previous);
}

std::optional<ScreenPoint> PhysicalCursorPos() {
    PhysicalPixels pixels;
    POINT point{};
    if (!GetCursorPos(&point)) return std::nullopt;
    return ScreenPoint{point.x, point.y};
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

// A high-resolution waitable timer (Windows 10 1803 on) keeps its millisecond when Windows lowers
// the timer resolution of a hidden or minimised program; elsewhere Sleep(1) at timeBeginPeriod(1).
// One per thread, closed when the thread ends.
namespace {
struct WaitTimer {
    HANDLE handle = CreateWaitableTimerExW(nullptr, nullptr, HIGH_RESOLUTION_TIMER, TIMER_ALL_ACCESS);
    ~WaitTimer() {
        if (handle) CloseHandle(handle);
    }
};
} // namespace

void WaitAboutOneMs() {
    thread_local WaitTimer timer;
    LARGE_INTEGER due;
    // Half a millisecond, relative in 100 ns units: a system that rounds timers up to the next
    // millisecond (Wine does) still wakes after about one.
    due.QuadPart = -5000;
    if (!timer.handle || !SetWaitableTimer(timer.handle, &due, 0, nullptr, nullptr, FALSE)) {
        Sleep(1);
        return;
    }
    WaitForSingleObject(timer.handle, INFINITE);
}
