// The main window's controls in creation order: class, text, style bits, client rectangle, ID and
// the AppState field that keeps the handle. Portable data; the window code walks it.
#pragma once

#include "core/AppState.h"

#include <cstdint>
#include <span>

enum ControlId : int32_t {
    ID_DEVICE_COMBO = 1001,
    ID_OUTPUT_EDIT = 1002,
    ID_RECORD = 2001,
    ID_PLAY = 2003,
    ID_ONCE = 2101,
    ID_LOOP = 2102,
    ID_HOLD = 2103,
    ID_LOOP_COUNT_EDIT = 2104,
    ID_FREE_MOUSE = 2201,
    ID_CENTER_MOUSE = 2202,
    ID_LOCK_MOUSE = 2203,
    ID_SCREEN_MOUSE = 2204,
    ID_RECORD_HOTKEY_EDIT = 3001,
    ID_PLAY_HOTKEY_EDIT = 3002,
    ID_RECORD_HOTKEY_CLEAR = 3003,
    ID_PLAY_HOTKEY_CLEAR = 3004,
    ID_HOLD_OFF_HOTKEY_EDIT = 3101,
    ID_HOLD_OFF_HOTKEY_CLEAR = 3102,
    ID_EVENT_LIST = 4001,
    ID_DELETE = 5001,
    ID_ALL = 5002,
    ID_DELAY_EDIT = 5003,
    ID_DELAY_SET = 5004,
    ID_SPEED_EDIT = 5005,
    ID_SPEED_SET = 5006,
    ID_SPEED_RESET = 5007,
    ID_EYE = 5010,
    ID_SAVE = 6001,
    ID_LOAD = 6002,
    ID_PROFILE = 6003,
    ID_CLEAR = 6004,
    ID_PATH_EDITOR = 6005,
};

// Style values as the system defines them, so the table needs no system header.
constexpr uint32_t STYLE_CHILD_VISIBLE = 0x50000000;
constexpr uint32_t STYLE_GROUP = 0x00020000;
constexpr uint32_t STYLE_BORDER = 0x00800000;
constexpr uint32_t STYLE_VSCROLL = 0x00200000;
constexpr uint32_t SS_CENTER_STYLE = 0x1;
constexpr uint32_t CBS_DROPDOWNLIST_STYLE = 0x3;
constexpr uint32_t ES_AUTOHSCROLL_STYLE = 0x80;
constexpr uint32_t ES_READONLY_STYLE = 0x800;
constexpr uint32_t ES_NUMBER_STYLE = 0x2000;
constexpr uint32_t BS_PUSHBUTTON_STYLE = 0x0;
constexpr uint32_t BS_AUTOCHECKBOX_STYLE = 0x3;
constexpr uint32_t BS_AUTORADIOBUTTON_STYLE = 0x9;
constexpr uint32_t BS_OWNERDRAW_STYLE = 0xB;
constexpr uint32_t BS_NOTIFY_STYLE = 0x4000;
constexpr uint32_t LBS_NOTIFY_STYLE = 0x1;
constexpr uint32_t LBS_OWNERDRAWFIXED_STYLE = 0x10;
constexpr uint32_t LBS_NODATA_STYLE = 0x2000;
constexpr uint32_t LBS_NOINTEGRALHEIGHT_STYLE = 0x100;

struct ControlEntry {
    const wchar_t* className;
    const wchar_t* text; // null for none
    uint32_t style;      // complete style, WS_CHILD | WS_VISIBLE included
    int32_t x, y, width, height;
    int32_t id;                     // 0 for none
    WindowHandle AppState::*handle; // null when no handle is kept
    int32_t boldFontHeight;         // 0 for the stock GUI font
};

constexpr int MAIN_CONTROL_COUNT = 46;
// The repeat count box takes this many digits as typed (a file may hold more).
constexpr int LOOP_COUNT_DIGITS = 4;

// The longest name the Output box takes: a macro file's OUTPUT line holds as much.
constexpr int32_t OUTPUT_NAME_MAX = 254;

// The status line's resting text and place; a playback that Windows hinders says why on the same
// line. Such a notice is longer than the line's 280 pixels and takes the free strip above the
// Record row.
constexpr wchar_t LISTENING_TEXT[] = L"Listening for raw mouse input...";
constexpr int32_t STATUS_X = 98;
constexpr int32_t STATUS_Y = 46;
constexpr int32_t STATUS_WIDTH = 280;
constexpr int32_t STATUS_HEIGHT = 18;
constexpr int32_t STATUS_NOTICE_Y = 36;
constexpr int32_t STATUS_NOTICE_WIDTH = 485;
constexpr int32_t STATUS_NOTICE_HEIGHT = 28;

std::span<const ControlEntry> MainControlTable();
// The IDs of the controls Tab and Shift+Tab visit, in reading order: row by row from the top, left
// to right. The buttons of a radio group follow each other and are one stop (the checked button);
// the arrow keys move within it. The hotkey boxes are left out: focus arms their capture, which
// unbinds the key and takes the next key pressed.
std::span<const int32_t> MainTabOrder();

// Text that the speed edit shows for a speed: "%.3f".
std::wstring FormatSpeed(double speed);
