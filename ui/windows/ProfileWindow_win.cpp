// The profile window: its controls and window procedure, the macro picker, and switching between
// slots for the window, the keyboard hook and profile files.
#include "ui/windows/ProfileWindow_win.h"

#include "core/AppState.h"
#include "ui/windows/ControlTable.h"
#include "ui/windows/WindowText_win.h"
#include "input/KeyboardHook_win.h"
#include "macro/Recorder_win.h"
#include "storage/FileIo_win.h"
#include "storage/Folders.h"
#include "storage/ReadyMacros_win.h"
#include "storage/ProfileFiles_win.h"
#include "ui/theme/Theme_win.h"
#include "ui/windows/FileDialog_win.h"
#include "ui/windows/ProfileSwitching.h"
#include "ui/windows/WindowPlacement_win.h"

namespace {

constexpr int PROFILE_WINDOW_WIDTH = 370;
constexpr int PROFILE_WINDOW_HEIGHT = 340;
constexpr int ROW_TOP = 10;
constexpr int ROW_STEP = 22;
// Names are read with a limit of 255 including the terminating null.
constexpr int NAME_TEXT_LIMIT = 255;
constexpr wchar_t NO_ACTIVE_PROFILE[] = L"Active profile: None";
constexpr wchar_t NO_PROFILE[] = L"Profile: None";
// Away from the overlay's place right of the main window's top, where the always-on-top overlay
// would cover its upper rows.
constexpr PlacementSide PROFILE_WINDOW_SIDES[] = {LeftOfMain, BelowMain, RightOfMain, AboveMain};
constexpr wchar_t SWITCH_REFUSED_TEXT[] = L"Cannot switch to ";

bool IsSlot(int slot) {
    return slot >= 0 && slot < PROFILE_SLOT_COUNT;
}

void NoteActiveSlotAsLoaded() {
    if (!IsSlot(app.activeProfile)) return;
    size_t i = static_cast<size_t>(app.activeProfile);
    app.activeSlotAsLoaded = app.profileSlots[i];
    app.activePathAsLoaded = app.profileMacroPaths[i];
}

HFONT GuiFont() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HWND AddControl(HWND parent, const wchar_t* className, const wchar_t* text, DWORD style, int x, int y,
                int width, int height, int id) {
    HWND control =
        CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), TRUE);
    return control;
}

void SetCheck(HWND box, bool checked) {
    if (box) SendMessageW(box, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool IsChecked(HWND box) {
    return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void CreateSlotRow(HWND window, int slot) {
    const ProfileSlot& profile = app.profileSlots[static_cast<size_t>(slot)];
    int y = ROW_TOP + ROW_STEP * slot;
    size_t i = static_cast<size_t>(slot);
    app.profileEnableChecks[i] = AddControl(window, L"BUTTON", L"", BS_AUTOCHECKBOX | BS_NOTIFY, 8, y, 20, 18,
                                            ID_PROFILE_ENABLE_FIRST + slot);
    AddControl(window, L"STATIC", SlotNumberText(slot).c_str(), 0, 30, y, 30, 18, 0);
    app.profileNameEdits[i] = AddControl(window, L"EDIT", profile.name.c_str(), WS_BORDER | ES_AUTOHSCROLL,
                                         65, y, 120, 20, ID_PROFILE_NAME_FIRST + slot);
    AddControl(window, L"STATIC", L"HK:", 0, 190, y, 25, 18, 0);
    app.profileHotkeyEdits[i] = AddControl(window, L"EDIT", L"", WS_BORDER | ES_READONLY, 220, y, 90, 20,
                                           ID_PROFILE_HOTKEY_FIRST + slot);
    ShowHotkeyText(app.profileHotkeyEdits[i], profile.trigger);
    SetCheck(app.profileEnableChecks[i], profile.enabled);
}

void OnCreate(HWND window) {
    app.profileWindow = window;
    FillDefaultProfileNames();
    NoteActiveSlotAsLoaded();
    app.activeProfileLabel = AddControl(window, L"STATIC", NO_ACTIVE_PROFILE, 0, 8, 280, 300, 18, 0);
    for (int slot = 0; slot < PROFILE_SLOT_COUNT; ++slot)
        CreateSlotRow(window, slot);

    AddControl(window, L"BUTTON", L"Close", BS_OWNERDRAW, 270, 250, 75, 30, ID_PROFILE_CLOSE);
    AddControl(window, L"BUTTON", L"Save", BS_OWNERDRAW, 75, 240, 44, 24, ID_PROFILE_SAVE);
    AddControl(window, L"BUTTON", L"Add", BS_OWNERDRAW, 130, 240, 44, 24, ID_PROFILE_LOAD);
    AddControl(window, L"BUTTON", L"Clear", BS_OWNERDRAW, 20, 240, 44, 24, ID_PROFILE_CLEAR);
    // The scroll boxes take the room up to "Close", so that "None" and short key names show whole.
    AddControl(window, L"STATIC", L"Scroll", 0, 177, 233, 44, 17, 0);
    app.scrollPrevEdit =
        AddControl(window, L"EDIT", L"", WS_BORDER | ES_READONLY, 177, 250, 37, 22, ID_SCROLL_PREV_EDIT);
    app.scrollNextEdit =
        AddControl(window, L"EDIT", L"", WS_BORDER | ES_READONLY, 215, 250, 37, 22, ID_SCROLL_NEXT_EDIT);
    ShowHotkeyText(app.scrollPrevEdit, app.scrollPrevHotkey);
    ShowHotkeyText(app.scrollNextEdit, app.scrollNextHotkey);
    AddControl(window, L"BUTTON", L"X", BS_PUSHBUTTON, 255, 253, 13, 15, ID_SCROLL_CLEAR);

    EnumChildWindows(window, MakePushButtonsOwnerDrawn, 0);
    EnumChildWindows(window, MakePushButtonsOwnerDrawn, 0);
}

void OnDestroy(HWND window) {
    RememberPlace(window, app.profileWindowPlace);
    if (app.profileWindow == window) app.profileWindow = nullptr;
    app.activeProfileLabel = nullptr;
    app.scrollPrevEdit = nullptr;
    app.scrollNextEdit = nullptr;
    app.profileEnableChecks.fill(nullptr);
    app.profileNameEdits.fill(nullptr);
    app.profileHotkeyEdits.fill(nullptr);
}

bool ActiveSlotChangedSinceLoad() {
    size_t i = static_cast<size_t>(app.activeProfile);
    const ProfileSlot& slot = app.profileSlots[i];
    return slot.name != app.activeSlotAsLoaded.name || slot.enabled != app.activeSlotAsLoaded.enabled ||
           app.profileMacroPaths[i] != app.activePathAsLoaded;
}

// Closing by the title bar keeps what the rows show; the active slot's macro is loaded again
// only when its name, file or tick was changed here.
void OnClose(HWND window) {
    for (size_t i = 0; i < PROFILE_SLOT_COUNT; ++i) {
        ProfileSlot& slot = app.profileSlots[i];
        if (app.profileNameEdits[i]) slot.name = ReadControlText(app.profileNameEdits[i], NAME_TEXT_LIMIT);
        if (app.profileEnableChecks[i]) slot.enabled = IsChecked(app.profileEnableChecks[i]);
    }
    if (IsSlot(app.activeProfile) && ActiveSlotChangedSinceLoad()) {
        StopRecordingForCommandOf(window); // the click on the close box
        SwitchToProfile(app.activeProfile);
    }
    DestroyWindow(window);
}

// Only one key capture is armed at a time, so the key goes where the user clicked last. The
// binding stays until a key replaces it: Escape or a click elsewhere gives up without losing it.
void ArmTriggerCapture(int slot) {
    EndHotkeyCaptures();
    app.profileHotkeyCaptureSlot = slot;
    ShowCapturePrompt(app.profileHotkeyEdits[static_cast<size_t>(slot)]);
}

void ArmScrollCapture(bool previous) {
    EndHotkeyCaptures();
    app.scrollPrevCapture = previous;
    app.scrollNextCapture = !previous;
    ShowCapturePrompt(previous ? app.scrollPrevEdit : app.scrollNextEdit);
}

void ClearScrollKeys() {
    app.scrollPrevHotkey = {};
    app.scrollNextHotkey = {};
    app.scrollPrevCapture = false;
    app.scrollNextCapture = false;
    ShowHotkeyText(app.scrollPrevEdit, app.scrollPrevHotkey);
    ShowHotkeyText(app.scrollNextEdit, app.scrollNextHotkey);
}

// Empties every slot and forgets the active one; the scroll keys stay. Nothing undoes it, so it
// asks first.
void ClearProfile() {
    if (MessageBoxW(app.profileWindow, L"Clear all ten profile slots?", L"Clear profile slots",
                    MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES)
        return;
    for (size_t i = 0; i < PROFILE_SLOT_COUNT; ++i) {
        app.profileSlots[i] = {};
        app.profileMacroPaths[i].clear();
        SetCheck(app.profileEnableChecks[i], false);
        SetControlText(app.profileNameEdits[i], L"");
        ShowHotkeyText(app.profileHotkeyEdits[i], app.profileSlots[i].trigger);
    }
    app.activeProfile = -1;
    PrepareReadyMacros();
    SetControlText(app.activeProfileLabel, NO_ACTIVE_PROFILE);
    SetControlText(app.profileLabel, NO_PROFILE);
    SetControlText(app.overlayProfileLabel, NO_PROFILE);
}

// True when the command was one of this window's; false sends it on to DefWindowProcW.
bool OnCommand(HWND window, int id, int notification) {
    bool clicked = notification == BN_CLICKED;
    if (id >= ID_PROFILE_ENABLE_FIRST && id < ID_PROFILE_ENABLE_FIRST + PROFILE_SLOT_COUNT) {
        if (!clicked) return false;
        // A load must not splice the recording (nor record the dialog): the recording ends first.
        StopRecordingForCommandOf(GetDlgItem(window, id));
        PickMacroForSlot(id - ID_PROFILE_ENABLE_FIRST);
        return true;
    }
    if (id >= ID_PROFILE_NAME_FIRST && id < ID_PROFILE_NAME_FIRST + PROFILE_SLOT_COUNT) {
        if (notification != EN_KILLFOCUS) return false;
        size_t i = static_cast<size_t>(id - ID_PROFILE_NAME_FIRST);
        app.profileSlots[i].name = ReadControlText(app.profileNameEdits[i], NAME_TEXT_LIMIT);
        return true;
    }
    bool triggerEdit = id >= ID_PROFILE_HOTKEY_FIRST && id < ID_PROFILE_HOTKEY_FIRST + PROFILE_SLOT_COUNT;
    if ((triggerEdit || id == ID_SCROLL_PREV_EDIT || id == ID_SCROLL_NEXT_EDIT) &&
        notification == EN_KILLFOCUS) {
        EndHotkeyCaptures();
        return true;
    }
    if (triggerEdit) {
        if (notification != EN_SETFOCUS) return false;
        ArmTriggerCapture(id - ID_PROFILE_HOTKEY_FIRST);
        return true;
    }
    switch (id) {
    case ID_SCROLL_PREV_EDIT:
    case ID_SCROLL_NEXT_EDIT:
        if (notification != EN_SETFOCUS) return false;
        ArmScrollCapture(id == ID_SCROLL_PREV_EDIT);
        return true;
    case ID_SCROLL_CLEAR:
        if (clicked) ClearScrollKeys();
        return clicked;
    case ID_PROFILE_CLOSE:
        if (clicked) DestroyWindow(window);
        return clicked;
    case ID_PROFILE_SAVE:
        if (clicked) SaveProfileFile(window);
        return clicked;
    case ID_PROFILE_LOAD:
        if (!clicked) return false;
        StopRecordingForCommandOf(GetDlgItem(window, id));
        LoadProfileFile(window);
        return true;
    case ID_PROFILE_CLEAR:
        if (clicked) ClearProfile();
        return clicked;
    default:
        return false;
    }
}

// Shows the Open dialog over the macro folder; false when cancelled.
bool AskForMacroPath(std::wstring& path) {
    return AskForFilePath(app.profileWindow, MACRO_FILTER, MACRO_FOLDER, path);
}

} // namespace

void FillDefaultProfileNames() {
    for (int slot = 0; slot < PROFILE_SLOT_COUNT; ++slot) {
        std::wstring& name = app.profileSlots[static_cast<size_t>(slot)].name;
        if (name.empty()) name = SlotNumberText(slot);
    }
}

void RefreshProfileWindow() {
    if (!app.profileWindow) return;
    for (size_t i = 0; i < PROFILE_SLOT_COUNT; ++i) {
        const ProfileSlot& slot = app.profileSlots[i];
        SetCheck(app.profileEnableChecks[i], slot.enabled);
        SetControlText(app.profileNameEdits[i], slot.name);
        ShowHotkeyText(app.profileHotkeyEdits[i], slot.trigger);
        for (HWND edit : {app.profileNameEdits[i], app.profileHotkeyEdits[i]}) {
            if (edit) SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), TRUE);
        }
    }
    ShowHotkeyText(app.scrollPrevEdit, app.scrollPrevHotkey);
    ShowHotkeyText(app.scrollNextEdit, app.scrollNextHotkey);
}

void PickMacroForSlot(int slot) {
    if (!IsSlot(slot)) return;
    size_t i = static_cast<size_t>(slot);
    CreateFixedFolders();
    std::wstring path;
    if (!AskForMacroPath(path)) {
        app.profileSlots[i].enabled = false;
        app.profileMacroPaths[i].clear();
        SetCheck(app.profileEnableChecks[i], false);
        PrepareReadyMacros(); // gives back the disabled slot's copy
        return;
    }
    if (!HasPrefixIgnoringCase(path, MACRO_FOLDER)) return;
    app.profileMacroPaths[i] = path;
    app.profileSlots[i].name = ProfileNameFromPath(path);
    SetControlText(app.profileNameEdits[i], app.profileSlots[i].name);
    app.profileSlots[i].enabled = true;
    SetCheck(app.profileEnableChecks[i], true);
    if (app.mainWindow) SwitchToProfile(slot);
}

void SwitchToProfile(int slot) {
    if (!IsSlot(slot)) return;
    size_t i = static_cast<size_t>(slot);
    ProfileSlot& profile = app.profileSlots[i];
    if (app.profileWindow && app.profileNameEdits[i])
        profile.name = ReadControlText(app.profileNameEdits[i], NAME_TEXT_LIMIT);
    std::wstring label = ProfileLabelText(slot, profile.name);

    // A slot whose macro cannot be loaded is not switched to: the labels would name a slot whose
    // macro is not the one that plays.
    std::wstring path = SlotMacroPath(app.profileMacroPaths[i], profile.name);
    if (path.empty() || !LoadSlotMacro(slot, path)) {
        std::wstring reason = path.empty()        ? L" has no macro file"
                              : !PathExists(path) ? L": " + path + L" is missing"
                                                  : L": " + path + L" is not a macro file";
        ShowStatus(SWITCH_REFUSED_TEXT + label + reason);
        return;
    }
    app.activeProfile = slot;
    SetControlText(app.activeProfileLabel, ActiveProfileLabelText(profile.name));
    SetControlText(app.profileLabel, label);
    SetControlText(app.overlayProfileLabel, label);
    NoteActiveSlotAsLoaded();
    if (ReadControlText(app.statusLabel, NAME_TEXT_LIMIT).starts_with(SWITCH_REFUSED_TEXT))
        ShowStatus(LISTENING_TEXT);
}

void SelectPreviousProfile() {
    int slot = PreviousEnabledSlot(app.profileSlots, app.activeProfile);
    if (slot >= 0) SwitchToProfile(slot);
}

void SelectNextProfile() {
    int slot = NextEnabledSlot(app.profileSlots, app.activeProfile);
    if (slot >= 0) SwitchToProfile(slot);
}

void OpenProfileWindow() {
    if (app.profileWindow && IsWindow(app.profileWindow)) {
        ShowWindow(app.profileWindow, SW_SHOWNORMAL);
        SetForegroundWindow(app.profileWindow);
        return;
    }
    EnsureThemeBrushes();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!app.profileWindowClassRegistered)
        app.profileWindowClassRegistered =
            RegisterThemedWindowClass(instance, PROFILE_WINDOW_CLASS, ProfileWindowProc, COLOR_BTNFACE);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, PROFILE_WINDOW_CLASS, L"Profiles",
                                  WS_CAPTION | WS_SYSMENU, CW_USEDEFAULT, CW_USEDEFAULT, PROFILE_WINDOW_WIDTH,
                                  PROFILE_WINDOW_HEIGHT, app.mainWindow, nullptr, instance, nullptr);
    app.profileWindow = window;
    if (!window) return;
    EnableDarkTitleBar(window);
    PlaceSmallWindow(window, app.profileWindowPlace, PROFILE_WINDOW_SIDES, true);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
}

LRESULT CALLBACK ProfileWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DRAWITEM: {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (!item || item->CtlType != ODT_BUTTON) break;
        DrawThemedButton(item);
        return TRUE;
    }
    case WM_ERASEBKGND:
        EraseWithBackground(window, reinterpret_cast<HDC>(wParam), COLOR_BTNFACE);
        return 1;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(
            ThemeCtlColor(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam)));
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_LBUTTONDOWN) RearmClickedHotkeyBox(window, lParam);
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam), HIWORD(wParam))) return 0;
        break;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
