// The main window procedure: builds the controls, routes every message to the part that owns it.
#include "app/MainWindow_win.h"

#include "core/AppState.h"
#include "ui/windows/ControlTable.h"
#include "app/SingleInstance_win.h"
#include "ui/windows/WindowText_win.h"
#include "input/KeyboardHook_win.h"
#include "input/MouseHook_win.h"
#include "input/RawInput_win.h"
#include "input/RawMouse_win.h"
#include "macro/EventList.h"
#include "macro/EventList_win.h"
#include "macro/Playback_win.h"
#include "macro/Recorder_win.h"
#include "storage/MacroFiles_win.h"
#include "storage/ReadyMacros_win.h"
#include "ui/theme/Theme_win.h"
#include "ui/windows/Overlay_win.h"
#include "ui/windows/PathEditor_win.h"
#include "ui/windows/ProfileWindow_win.h"
#include "macro/Undo.h"

namespace {

constexpr int MAIN_WIDTH = 650;
constexpr int MAIN_HEIGHT = 362;
// Room for any 32-bit count, which a file may set.
constexpr int LOOP_COUNT_TEXT_LIMIT = 16;

void SelectPlayMode(int32_t mode) {
    CheckRadioInRange(app.mainWindow, ID_ONCE, ID_HOLD, ID_ONCE + mode);
    app.playMode = mode;
}

void SelectMouseMode(int32_t mode) {
    CheckRadioInRange(app.mainWindow, ID_FREE_MOUSE, ID_SCREEN_MOUSE, ID_FREE_MOUSE + mode);
    app.mouseMode = mode;
}

void CreateMainControls(HWND window, HINSTANCE instance) {
    HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlEntry& entry : MainControlTable()) {
        HWND control = CreateWindowExW(
            0, entry.className, entry.text ? entry.text : L"", entry.style, entry.x, entry.y, entry.width,
            entry.height, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)), instance, nullptr);
        if (entry.handle) app.*entry.handle = control;
        HFONT font = entry.boldFontHeight ? MakeBoldGuiFont(entry.boldFontHeight) : guiFont;
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    SelectPlayMode(Once);
    SelectMouseMode(FreeMouse);
    ShowHotkeyText(app.recordHotkeyEdit, app.recordHotkey);
    ShowHotkeyText(app.playHotkeyEdit, app.playHotkey);
    ShowHotkeyText(app.holdOffHotkeyEdit, app.holdOffHotkey);
    SetControlText(app.speedEdit, FormatSpeed(app.speed));
    SendMessageW(app.loopCountEdit, EM_LIMITTEXT, LOOP_COUNT_DIGITS, 0);
}

void OnCreate(HWND window, const CREATESTRUCTW* create) {
    app.mainWindow = window;
    EnsureThemeBrushes();
    RegisterRawInput(window);
    CreateMainControls(window, create->hInstance);
    AttachEventListTexts();
    AttachEditBoxKeys();
    SendMessageW(app.outputEdit, EM_SETLIMITTEXT, OUTPUT_NAME_MAX, 0);
    EnumerateRawMice();
    SetTimer(window, COORD_TIMER_ID, COORD_TIMER_PERIOD_MS, nullptr);
    InstallKeyboardHook();
    EnumChildWindows(window, MakePushButtonsOwnerDrawn, 0);
    EnsurePlaybackWorker();
    AllowHandOversFromLowerIntegrity(window);
}

// The hook goes first: while this thread waits for the playback it pumps no messages, and every
// key the playback injects would wait for the hook's time-out.
void OnDestroy(HWND window) {
    KillTimer(window, COORD_TIMER_ID);
    RemoveKeyboardHook();
    RemoveMouseHook();
    StopRecording();
    StopPlaybackBeforeExit();
    PostQuitMessage(0);
}

// Arms the capture of one hotkey edit. Its binding stays until a key or button replaces it, so
// that Escape or a click elsewhere gives up without losing it.
void ArmHotkeyCapture(HWND edit, bool& capture) {
    EndHotkeyCaptures();
    capture = true;
    ShowCapturePrompt(edit);
}

void OnHotkeyEditFocus(WORD notification, HWND edit, bool& capture) {
    if (notification == EN_SETFOCUS) ArmHotkeyCapture(edit, capture);
    if (notification == EN_KILLFOCUS) EndHotkeyCaptures();
}

void ClearHotkey(HotkeyBinding& binding, HWND edit, bool& capture) {
    capture = false;
    binding = {};
    ShowHotkeyText(edit, binding);
}

void OnCommand(WORD id, WORD notification, LPARAM control) {
    bool clicked = notification == BN_CLICKED;
    switch (id) {
    case ID_DEVICE_COMBO:
        if (notification == CBN_SELCHANGE) OnDeviceSelectionChanged();
        return;
    case ID_RECORD:
        if (clicked) ToggleRecordingFromButton();
        return;
    case ID_PLAY:
        if (!clicked) return;
        if (app.playing)
            app.stopRequested = true;
        else
            StartPlayback();
        return;
    case ID_ONCE:
    case ID_LOOP:
    case ID_HOLD:
        if (clicked) SelectPlayMode(id - ID_ONCE);
        return;
    case ID_LOOP_COUNT_EDIT:
        if (notification == EN_CHANGE)
            app.loopCount = LoopCountFromText(ReadControlText(app.loopCountEdit, LOOP_COUNT_TEXT_LIMIT));
        return;
    case ID_FREE_MOUSE:
    case ID_CENTER_MOUSE:
    case ID_LOCK_MOUSE:
    case ID_SCREEN_MOUSE:
        if (clicked) SelectMouseMode(id - ID_FREE_MOUSE);
        return;
    case ID_RECORD_HOTKEY_EDIT:
        OnHotkeyEditFocus(notification, app.recordHotkeyEdit, app.recordHotkeyCapture);
        return;
    case ID_PLAY_HOTKEY_EDIT:
        OnHotkeyEditFocus(notification, app.playHotkeyEdit, app.playHotkeyCapture);
        return;
    case ID_HOLD_OFF_HOTKEY_EDIT:
        OnHotkeyEditFocus(notification, app.holdOffHotkeyEdit, app.holdOffHotkeyCapture);
        return;
    case ID_RECORD_HOTKEY_CLEAR:
        if (clicked) ClearHotkey(app.recordHotkey, app.recordHotkeyEdit, app.recordHotkeyCapture);
        return;
    case ID_PLAY_HOTKEY_CLEAR:
        if (clicked) ClearHotkey(app.playHotkey, app.playHotkeyEdit, app.playHotkeyCapture);
        return;
    case ID_HOLD_OFF_HOTKEY_CLEAR:
        if (!clicked) return;
        ClearHotkey(app.holdOffHotkey, app.holdOffHotkeyEdit, app.holdOffHotkeyCapture);
        SwitchHoldStateOn();
        return;
    case ID_EVENT_LIST:
        if (notification == LBN_SELCHANGE)
            OnEventListSelectionChanged();
        else if (notification == LBN_DBLCLK)
            ToggleTickOfSelectedRow();
        return;
    case ID_DELETE:
        if (clicked) DeleteTickedRows();
        return;
    case ID_ALL:
        if (clicked) TickAllRows();
        return;
    case ID_DELAY_SET:
        if (clicked) ApplyRowDelay();
        return;
    case ID_SPEED_SET:
        if (clicked) ApplySpeed();
        return;
    case ID_SPEED_RESET:
        if (clicked) ResetSpeed();
        return;
    case ID_EYE:
        if (clicked) ToggleOverlay();
        return;
    case ID_SAVE:
    case ID_LOAD:
        if (!clicked) return;
        // Half a recording with the click on the button in it is nobody's macro: it ends first.
        StopRecordingForCommandOf(reinterpret_cast<HWND>(control));
        if (id == ID_SAVE)
            SaveMacroByName(app.mainWindow);
        else
            LoadMacroWithDialog(app.mainWindow);
        return;
    case ID_PROFILE:
        if (clicked) OpenProfileWindow();
        return;
    case ID_CLEAR:
        if (clicked) ClearMacroAndSettings();
        return;
    case ID_PATH_EDITOR:
        if (clicked) OpenPathEditor();
        return;
    default:
        return;
    }
}

// Closing asks before a changed macro is lost; a recording is stopped first and counts as a change.
// Yes saves as Save does and closes only when the save worked.
bool MayCloseMainWindow(HWND window) {
    StopRecording();
    if (!MacroHasUnsavedChanges(app)) return true;
    switch (MessageBoxW(window, L"Save changes to the macro?", UNSAVED_MACRO_CAPTION,
                        MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDYES:
        return SaveMacroByName(window);
    case IDNO:
        return true;
    default:
        return false;
    }
}

// Windows is shutting down or signing out: nothing is asked and nothing held up, the changed
// macro goes to a file of its own.
void OnEndSession() {
    StopRecording();
    if (MacroHasUnsavedChanges(app)) KeepUnsavedMacro();
}

} // namespace

void ClearMacroAndSettings() {
    ReplaceEvents({});
    RebuildEventList();
    SetControlText(app.outputEdit, L"(Virtual Mouse 1)");
    ClearHotkey(app.recordHotkey, app.recordHotkeyEdit, app.recordHotkeyCapture);
    ClearHotkey(app.playHotkey, app.playHotkeyEdit, app.playHotkeyCapture);
    ClearHotkey(app.holdOffHotkey, app.holdOffHotkeyEdit, app.holdOffHotkeyCapture);
    SwitchHoldStateOn();
    if (app.allCheckbox) SendMessageW(app.allCheckbox, BM_SETCHECK, BST_UNCHECKED, 0);
    SetControlText(app.delayEdit, L"");
    SetControlText(app.coordLabel, L"X: 0  Y: 0");
    SelectPlayMode(Once);
    SetControlText(app.loopCountEdit, L"");
    app.loopCount = 0;
    SelectMouseMode(FreeMouse);
    app.speed = SPEED_DEFAULT;
    SetControlText(app.speedEdit, FormatSpeed(app.speed));
}

void OnCoordTimer() {
    if (app.clock() - app.lastRawInputTick <= COORD_IDLE_RESET_MS) {
        if (app.lastRawInputTick > app.coordLabelTick) UpdateCoordLabel();
        return;
    }
    if (app.lastRawDx == 0 && app.lastRawDy == 0) return;
    app.lastRawDx = 0;
    app.lastRawDy = 0;
    UpdateCoordLabel();
}

bool RegisterMainWindowClass(HINSTANCE instance) {
    EnsureThemeBrushes();
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(101));
    windowClass.hIconSm =
        static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(101), IMAGE_ICON, 16, 16, 0));
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground =
        app.backgroundBrush ? app.backgroundBrush : reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = MAIN_CLASS_NAME;
    return RegisterClassExW(&windowClass) != 0;
}

HWND CreateMainWindow(HINSTANCE instance) {
    HWND window = CreateWindowExW(0, MAIN_CLASS_NAME, L"KorvaMacro", WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, MAIN_WIDTH, MAIN_HEIGHT, nullptr, nullptr,
                                  instance, nullptr);
    if (window) {
        app.mainWindow = window;
        EnableDarkTitleBar(window);
    }
    return window;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window, reinterpret_cast<const CREATESTRUCTW*>(lParam));
        return 0;
    case WM_CLOSE:
        if (MayCloseMainWindow(window)) DestroyWindow(window);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        if (wParam) OnEndSession();
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_ERASEBKGND:
        EraseWithBackground(window, reinterpret_cast<HDC>(wParam), COLOR_WINDOW);
        return 1;
    case WM_ENTERIDLE:
        // A dialog or menu of this window runs its own loop and has emptied the queue.
        app.interfaceQueueDrains.fetch_add(1, std::memory_order_relaxed);
        return 0;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlType == ODT_BUTTON) {
            DrawThemedButton(item);
            return TRUE;
        }
        if (item->CtlID == ID_EVENT_LIST && item->itemID != static_cast<UINT>(-1)) {
            DrawEventRow(item);
            return TRUE;
        }
        break;
    }
    case WM_MEASUREITEM: {
        auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (item->CtlID == ID_EVENT_LIST) {
            item->itemHeight = EVENT_ROW_HEIGHT;
            return TRUE;
        }
        break;
    }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == app.eventList && app.eventList) {
            OnEventListContextMenu(lParam);
            return 0;
        }
        break;
    case WM_INPUT:
        HandleRawInput(lParam);
        return 0;
    case WM_APP_WITHHELD_BUTTON:
        PerformWithheldButton(static_cast<uint32_t>(wParam));
        return 0;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_LBUTTONDOWN) RearmClickedHotkeyBox(window, lParam);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), lParam);
        return 0;
    case WM_TIMER:
        if (wParam != COORD_TIMER_ID) return 0;
        OnCoordTimer();
        ShowPlaybackNotice();
        SyncMouseHook(); // bindings change in many places: the hook follows within a tick
        ShowPlaybackPass();
        ReleaseRetiredSteps(app.undoHistory);
        return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<LRESULT>(
            ThemeCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_APP_PLAYBACK_DONE:
        OnPlaybackDone();
        PlayPendingMasterSound();
        return 0;
    case WM_APP_PREPARE_READY_MACROS:
        ReleaseRetiredSteps(app.undoHistory);
        PrepareReadyMacros();
        return 0;
    case WM_RENDERFORMAT:
        if (wParam == CF_UNICODETEXT) RenderClipboardText();
        return 0;
    case WM_RENDERALLFORMATS:
        RenderClipboardTextBeforeExit();
        return 0;
    case WM_DESTROYCLIPBOARD:
        std::string().swap(app.clipboardText);
        return 0;
    case WM_COPYDATA:
        return AcceptHandedOverPath(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_APP_OPEN_MACRO:
        OpenPendingMacro();
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
