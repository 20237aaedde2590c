// libFuzzer target for the file readers: any bytes must parse as a macro without a crash or a runaway
// reservation, and what was read must write and read back to the same file text; the same bytes
// read as a profile must not crash either (its lines are pinned by the unit tests).
#include "storage/MacroFile.h"
#include "storage/ProfileFile.h"

#include <cstdlib>
#include <tuple>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileContents profile;
    if (ReadProfileFile(bytes, profile)) WriteProfileFile(profile);
    MacroFileContents contents;
    contents.speed = 1.5;
    contents.recordHotkey = {HotkeyKeyboard, 0x75};
    if (!ReadMacroFile(bytes, contents)) return 0;

    // The reservation may never exceed what the text could hold.
    if (contents.events.capacity() > (size + 1) / 3 || contents.events.size() > contents.macroCount ||
        !(contents.speed > 0))
        std::abort();

    // Written once, the text is stable: reading and writing it again changes nothing.
    std::string written = WriteMacroFile(contents);
    MacroFileContents again;
    if (!ReadMacroFile(written, again)) std::abort();
    auto fields = [](const MacroFileContents& c) {
        return std::tie(c.events, c.playMode, c.mouseMode, c.deviceIndex, c.masterEnabled, c.recordHotkey,
                        c.playHotkey, c.holdOffHotkey, c.loopCount);
    };
    if (fields(again) != fields(contents) || WriteMacroFile(again) != written) std::abort();
    return 0;
}
