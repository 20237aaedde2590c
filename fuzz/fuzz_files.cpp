// libFuzzer target for the file readers: any bytes must parse as a macro without a crash or a runaway
// reservation, and what was read must write and read back to the same file text; the same bytes
// read as a profile must not crash either (its lines are pinned by the unit tests).
#include "storage/MacroFile.h"
#include "storage/ProfileFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileContents profile;
    if (ReadProfileFile(bytes, profile)) WriteProfileFile(profile);
    MacroFileContents contents;
    contents.speed = 1.5;
    contents.recordHotkey = {HotkeyKeyboard, 0x75};
    if (!ReadMacroFile(bytes, contents)) return 0;

    // The reservation may never exceed what the text could hold.
    if (contents.events.capacity() > (size + 1) / 3) std::abort();
    if (contents.events.size() > contents.macroCount) std::abort();
    if (!(contents.speed > 0)) std::abort();

    // Written once, the text is stable: reading and writing it again changes nothing.
    std::string written = WriteMacroFile(contents);
    MacroFileContents again;
    if (!ReadMacroFile(written, again)) std::abort();
    if (again.events != contents.events || again.playMode != contents.playMode ||
        again.mouseMode != contents.mouseMode || again.deviceIndex != contents.deviceIndex ||
        again.masterEnabled != contents.masterEnabled || again.recordHotkey != contents.recordHotkey ||
        again.playHotkey != contents.playHotkey || again.holdOffHotkey != contents.holdOffHotkey ||
        again.loopCount != contents.loopCount)
        std::abort();
    if (WriteMacroFile(again) != written) std::abort();
    return 0;
}
