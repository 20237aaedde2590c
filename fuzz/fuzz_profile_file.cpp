// Feeds arbitrary bytes to the profile reader. Whatever it accepts must write back to a complete
// file of 24 lines that reads again and writes to the very same text.
#include "storage/ProfileFile.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileContents profile;
    profile.slots[7] = {true, {HotkeyKeyboard, 0x41}, L"kept"};
    if (!ReadProfileFile(bytes, profile)) return 0;
    std::string first = WriteProfileFile(profile);
    // 24 lines, and no line break or CR anywhere but at the line ends.
    size_t lineEnds = 0;
    for (size_t at = first.find("\r\n"); at != std::string::npos; at = first.find("\r\n", at + 2))
        ++lineEnds;
    if (lineEnds != 24 || std::count(first.begin(), first.end(), '\n') != 24 ||
        std::count(first.begin(), first.end(), '\r') != 24)
        std::abort();
    ProfileContents again;
    if (!ReadProfileFile(first, again)) std::abort();
    if (WriteProfileFile(again) != first) std::abort();
    return 0;
}
