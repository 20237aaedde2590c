// Raw input registration and the WM_INPUT reader that dispatches mouse and keyboard packets.
#include "input/RawInput_win.h"

#include "input/HookWatchdog_win.h"
#include "input/RawMouse_win.h"

#include <cstring>
#include <span>
#include <vector>

namespace {

constexpr USHORT USAGE_PAGE_GENERIC_DESKTOP = 0x01;
constexpr USHORT USAGE_MOUSE = 0x02;
constexpr USHORT USAGE_KEYBOARD = 0x06;

} // namespace

void RegisterRawInput(HWND target) {
    RAWINPUTDEVICE devices[2]{};
    for (RAWINPUTDEVICE& device : devices) {
        device.usUsagePage = USAGE_PAGE_GENERIC_DESKTOP;
        device.dwFlags = RIDEV_INPUTSINK;
        device.hwndTarget = target;
    }
    devices[0].usUsage = USAGE_MOUSE;
    devices[1].usUsage = USAGE_KEYBOARD;
    RegisterRawInputDevices(devices, 2, sizeof(RAWINPUTDEVICE));
}

void HandleRawInput(LPARAM rawInputHandle) {
    HRAWINPUT handle = reinterpret_cast<HRAWINPUT>(rawInputHandle);
    UINT size = 0;
    if (GetRawInputData(handle, RID_INPUT, nullptr, &size, sizeof(RAWINPUTHEADER)) != 0 || size == 0) return;
    // Kept between packets: a mouse at 1000 Hz would otherwise allocate a thousand times a second.
    static std::vector<BYTE> packetBuffer;
    if (packetBuffer.size() < size) packetBuffer.resize(size);
    const std::span<const BYTE> buffer(packetBuffer.data(), size);
    if (GetRawInputData(handle, RID_INPUT, packetBuffer.data(), &size, sizeof(RAWINPUTHEADER)) !=
        buffer.size())
        return;
    // Keyboard packets only feed the hook watchdog; the mouse rules never see them.
    if (buffer.size() >= sizeof(RAWINPUTHEADER) + sizeof(RAWKEYBOARD) &&
        reinterpret_cast<const RAWINPUTHEADER*>(buffer.data())->dwType == RIM_TYPEKEYBOARD) {
        RAWKEYBOARD keyboard{};
        std::memcpy(&keyboard, buffer.data() + sizeof(RAWINPUTHEADER), sizeof(keyboard));
        OnRawKeyboardPacket(keyboard);
        return;
    }
    // A packet too short to hold a mouse record is not read past its end.
    if (buffer.size() < sizeof(RAWINPUTHEADER) + sizeof(RAWMOUSE)) return;
    RAWINPUT input{};
    std::memcpy(&input, buffer.data(), buffer.size() < sizeof(input) ? buffer.size() : sizeof(input));
    if (input.header.dwType != RIM_TYPEMOUSE) return;

    RawMouseReading reading;
    reading.device = input.header.hDevice;
    reading.buttonFlags = input.data.mouse.usButtonFlags;
    reading.buttonData = input.data.mouse.usButtonData;
    reading.lastX = input.data.mouse.lLastX;
    reading.lastY = input.data.mouse.lLastY;
    reading.extraInformation = input.data.mouse.ulExtraInformation;
    HandleRawMouseReading(reading);
}
