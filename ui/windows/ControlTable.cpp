// The main window's control table. Coordinates and styles are the window's fixed layout.
#include "ui/windows/ControlTable.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr uint32_t CHILD = STYLE_CHILD_VISIBLE;
constexpr uint32_t OWNER_DRAWN = CHILD | BS_OWNERDRAW_STYLE;
// The eye symbol U+1F441 as its UTF-16 surrogate pair.
constexpr wchar_t EYE_TEXT[] = {0xD83D, 0xDC41, 0};

constexpr ControlEntry MAIN_CONTROLS[MAIN_CONTROL_COUNT] = {
    {L"STATIC", L"X: 0  Y: 0", CHILD, 10, 10, 80, 20, 0, &AppState::coordLabel, 0},
    {L"STATIC", L"F4 toggles (ON/OFF)", CHILD, 510, 275, 320, 17, 0, nullptr, 0},
    {L"STATIC", L"F8 clears Record / Play hotkeys", CHILD, 455, 295, 280, 20, 0, nullptr, 0},
    {L"STATIC", L"ON", CHILD | SS_CENTER_STYLE, 585, 15, 44, 44, 0, &AppState::masterLabel, -17},
    {L"STATIC", LISTENING_TEXT, CHILD, STATUS_X, STATUS_Y, STATUS_WIDTH, STATUS_HEIGHT, 0,
     &AppState::statusLabel, 0},
    {L"STATIC", L"Input", CHILD, 20, 70, 48, 20, 0, nullptr, 0},
    {L"COMBOBOX", nullptr, CHILD | CBS_DROPDOWNLIST_STYLE, 70, 68, 200, 200, ID_DEVICE_COMBO,
     &AppState::deviceCombo, 0},
    {L"STATIC", L"Output", CHILD, 20, 110, 48, 20, 0, nullptr, 0},
    {L"EDIT", L"Virtual Mouse 1", CHILD | STYLE_BORDER | ES_AUTOHSCROLL_STYLE, 70, 108, 200, 22,
     ID_OUTPUT_EDIT, &AppState::outputEdit, 0},
    {L"STATIC", L"Profile: None", CHILD, 185, 8, 200, 24, 0, &AppState::profileLabel, -18},
    {L"BUTTON", L"Record", OWNER_DRAWN, 300, 65, 80, 26, ID_RECORD, &AppState::recordButton, 0},
    {L"BUTTON", L"Play", OWNER_DRAWN, 300, 105, 80, 26, ID_PLAY, &AppState::playButton, 0},
    {L"BUTTON", L"Once", CHILD | STYLE_GROUP | BS_AUTORADIOBUTTON_STYLE, 565, 64, 50, 20, ID_ONCE, nullptr,
     0},
    {L"BUTTON", L"Loop", CHILD | BS_AUTORADIOBUTTON_STYLE, 565, 87, 45, 20, ID_LOOP, nullptr, 0},
    {L"BUTTON", L"Hold", CHILD | BS_AUTORADIOBUTTON_STYLE, 565, 110, 60, 20, ID_HOLD, nullptr, 0},
    // 95 wide: "CenterMouse" and its radio circle need more than 80. Rows of 20 leave room for the
    // fourth mode, ScreenMouse, above "Macro speed".
    {L"BUTTON", L"FreeMouse", CHILD | STYLE_GROUP | BS_AUTORADIOBUTTON_STYLE, 535, 141, 95, 18, ID_FREE_MOUSE,
     nullptr, 0},
    {L"BUTTON", L"CenterMouse", CHILD | BS_AUTORADIOBUTTON_STYLE, 535, 161, 95, 18, ID_CENTER_MOUSE, nullptr,
     0},
    {L"BUTTON", L"LockMouse", CHILD | BS_AUTORADIOBUTTON_STYLE, 535, 181, 95, 18, ID_LOCK_MOUSE, nullptr, 0},
    {L"EDIT", L"", CHILD | STYLE_BORDER | ES_READONLY_STYLE, 390, 65, 100, 22, ID_RECORD_HOTKEY_EDIT,
     &AppState::recordHotkeyEdit, 0},
    {L"BUTTON", L"X", OWNER_DRAWN, 495, 65, 20, 22, ID_RECORD_HOTKEY_CLEAR, nullptr, 0},
    {L"EDIT", L"", CHILD | STYLE_BORDER | ES_READONLY_STYLE, 390, 105, 100, 22, ID_PLAY_HOTKEY_EDIT,
     &AppState::playHotkeyEdit, 0},
    {L"BUTTON", L"X", OWNER_DRAWN, 495, 105, 20, 22, ID_PLAY_HOTKEY_CLEAR, nullptr, 0},
    // Wide enough for "Mouse button"; its X and state label move right, clear of the radios.
    {L"STATIC", L"Hold key off", CHILD, 385, 138, 80, 17, 0, nullptr, 0},
    {L"EDIT", L"", CHILD | STYLE_BORDER | ES_READONLY_STYLE | ES_AUTOHSCROLL_STYLE, 385, 155, 80, 20,
     ID_HOLD_OFF_HOTKEY_EDIT, &AppState::holdOffHotkeyEdit, 0},
    {L"BUTTON", L"X", OWNER_DRAWN, 468, 151, 14, 17, ID_HOLD_OFF_HOTKEY_CLEAR, nullptr, 0},
    {L"STATIC", L"ON", CHILD | SS_CENTER_STYLE, 484, 153, 40, 20, 0, &AppState::holdStateLabel, 0},
    {L"LISTBOX", nullptr,
     CHILD | STYLE_BORDER | STYLE_VSCROLL | LBS_NOTIFY_STYLE | LBS_OWNERDRAWFIXED_STYLE | LBS_NODATA_STYLE |
         LBS_NOINTEGRALHEIGHT_STYLE,
     20, 150, 280, 160, ID_EVENT_LIST, &AppState::eventList, 0},
    {L"BUTTON", EYE_TEXT, CHILD | BS_PUSHBUTTON_STYLE, 335, 187, 24, 20, ID_EYE, nullptr, 0},
    {L"STATIC", L"Eye", CHILD, 364, 190, 40, 16, 0, nullptr, 0},
    {L"STATIC", L"Edit delay (s)", CHILD, 325, 220, 110, 20, 0, nullptr, 0},
    {L"EDIT", L"", CHILD | STYLE_BORDER | ES_AUTOHSCROLL_STYLE, 315, 240, 80, 22, ID_DELAY_EDIT,
     &AppState::delayEdit, 0},
    {L"BUTTON", L"Set", OWNER_DRAWN, 398, 240, 40, 22, ID_DELAY_SET, nullptr, 0},
    {L"STATIC", L"Macro speed", CHILD, 505, 220, 110, 20, 0, nullptr, 0},
    {L"EDIT", L"", CHILD | STYLE_BORDER | ES_AUTOHSCROLL_STYLE, 496, 240, 80, 22, ID_SPEED_EDIT,
     &AppState::speedEdit, 0},
    {L"BUTTON", L"Set", OWNER_DRAWN, 580, 240, 40, 22, ID_SPEED_SET, nullptr, 0},
    {L"BUTTON", L"Reset", OWNER_DRAWN, 452, 240, 40, 22, ID_SPEED_RESET, nullptr, 0},
    {L"BUTTON", L"Delete", OWNER_DRAWN, 315, 280, 80, 26, ID_DELETE, nullptr, 0},
    {L"BUTTON", L"Save", OWNER_DRAWN, 490, 15, 35, 20, ID_SAVE, nullptr, 0},
    {L"BUTTON", L"Add", OWNER_DRAWN, 535, 15, 35, 20, ID_LOAD, nullptr, 0},
    {L"BUTTON", L"Edit", OWNER_DRAWN, 452, 204, 40, 20, ID_PATH_EDITOR, nullptr, 0},
    {L"STATIC", L"(Mouse)", CHILD, 453, 186, 60, 15, 0, nullptr, 0},
    {L"BUTTON", L"Clear", OWNER_DRAWN, 17, 40, 35, 17, ID_CLEAR, nullptr, 0},
    {L"BUTTON", L"Profile", OWNER_DRAWN, 425, 15, 55, 20, ID_PROFILE, nullptr, 0},
    {L"BUTTON", L"All", CHILD | BS_AUTOCHECKBOX_STYLE | BS_NOTIFY_STYLE, 315, 148, 50, 22, ID_ALL,
     &AppState::allCheckbox, 0},
    // Last, so the places of the controls above stay as they were; it joins FreeMouse's radio group,
    // which no later control ends.
    {L"BUTTON", L"ScreenMouse", CHILD | BS_AUTORADIOBUTTON_STYLE, 535, 201, 95, 18, ID_SCREEN_MOUSE, nullptr,
     0},
    // The repeat count beside Loop: "Loop" and its circle take 41 of the radio's 45.
    {L"EDIT", L"", CHILD | STYLE_BORDER | ES_NUMBER_STYLE, 611, 87, 30, 20, ID_LOOP_COUNT_EDIT,
     &AppState::loopCountEdit, 0},
};

// One line per row of the window.
// clang-format off
constexpr int32_t MAIN_TAB_ORDER[] = {
    ID_PROFILE, ID_SAVE, ID_LOAD,
    ID_CLEAR,
    ID_DEVICE_COMBO, ID_RECORD, ID_RECORD_HOTKEY_CLEAR, ID_ONCE, ID_LOOP, ID_HOLD, ID_LOOP_COUNT_EDIT,
    ID_OUTPUT_EDIT, ID_PLAY, ID_PLAY_HOTKEY_CLEAR,
    ID_EVENT_LIST, ID_ALL, ID_HOLD_OFF_HOTKEY_CLEAR, ID_FREE_MOUSE, ID_CENTER_MOUSE, ID_LOCK_MOUSE, ID_SCREEN_MOUSE,
    ID_EYE, ID_PATH_EDITOR,
    ID_DELAY_EDIT, ID_DELAY_SET, ID_SPEED_RESET, ID_SPEED_EDIT, ID_SPEED_SET,
    ID_DELETE,
};
// clang-format on

} // namespace

std::span<const ControlEntry> MainControlTable() {
    return MAIN_CONTROLS;
}

std::span<const int32_t> MainTabOrder() {
    return MAIN_TAB_ORDER;
}

std::wstring FormatSpeed(double speed) {
    wchar_t buffer[32];
    // Fixed-point writes a digit per power of ten; a file's speed has no upper bound (1e300 would
    // need 300 digits), so large values are shown in exponent notation instead.
    const wchar_t* format = std::fabs(speed) < 1e12 ? L"%.3f" : L"%.6g";
    std::swprintf(buffer, 32, format, speed);
    return buffer;
}
