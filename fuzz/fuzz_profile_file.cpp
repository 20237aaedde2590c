// Feeds arbitrary bytes to the profile reader. Whatever it accepts must write back to a complete
// file of 24 lines that reads again and writes to the very same text.
#include "storage/ProfileFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

size_t CountLines(const std::string& text) {
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    ProfileContents profile;
    profile.slots[7] = {true, {HotkeyKeyboard, 0x41}, L"kept"};
    if (!ReadProfileFile(bytes, profile)) return 0;
    std::string first = WriteProfileFile(profile);
    // 24 lines, and no line break or CR anywhere but at the line ends.
    size_t breaks = static_cast<size_t>(std::count(first.begin(), first.end(), '\n'));
    size_t returns = static_cast<size_t>(std::count(first.begin(), first.end(), '\r'));
    if (CountLines(first) != 24 || breaks != 24 || returns != 24) std::abort();
    ProfileContents again;
    if (!ReadProfileFile(first, again)) std::abort();
    if (WriteProfileFile(again) != first) std::abort();
    return 0;
}
