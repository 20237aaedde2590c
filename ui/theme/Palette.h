// The dark palette shared by every window, as COLORREF values (0x00BBGGRR). Portable.
#pragma once

#include <cstdint>

constexpr uint32_t MakeColor(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

constexpr uint32_t backgroundColor = MakeColor(6, 8, 10);
constexpr uint32_t controlColor = MakeColor(18, 20, 24);
constexpr uint32_t hotButtonColor = MakeColor(26, 30, 36);
constexpr uint32_t pressedButtonColor = MakeColor(20, 22, 26);
constexpr uint32_t selectedRowColor = MakeColor(32, 36, 44);
constexpr uint32_t textColor = MakeColor(230, 234, 239);
constexpr uint32_t disabledTextColor = MakeColor(150, 155, 165);
constexpr uint32_t accentTextColor = MakeColor(255, 153, 172);
constexpr uint32_t accentDisabledTextColor = MakeColor(140, 90, 100);
constexpr uint32_t borderColor = MakeColor(40, 44, 52);
constexpr uint32_t alertTextColor = MakeColor(255, 0, 0);
constexpr uint32_t recordPlayCtlTextColor = MakeColor(255, 96, 144);

static_assert(backgroundColor == 0x000A0806 && controlColor == 0x00181412 && textColor == 0x00EFEAE6);
static_assert(accentTextColor == 0x00AC99FF && recordPlayCtlTextColor == 0x009060FF);

// Caption font of "Record" and "Play": the GUI font's height times 1.3, truncated toward zero.
constexpr int32_t AccentFontHeight(int32_t guiFontHeight) {
    return guiFontHeight == 0 ? -16 : static_cast<int32_t>(guiFontHeight * 1.3);
}
