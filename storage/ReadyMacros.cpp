// The memory bound, the freshness check and the constant-time take of the ready macros.
#include "storage/ReadyMacros.h"

#include <utility>

uint64_t ReadyMacroBytes(const ReadyMacro& macro) {
    return macro.events.capacity() * sizeof(MacroEvent) + macro.header.size();
}

bool KeepReadyMacro(size_t slot, const std::wstring& path, FileStamp stamp, std::string_view header,
                    std::vector<MacroEvent> events) {
    ReadyMacro& macro = app.readyMacros[slot];
    macro = {};
    uint64_t others = 0;
    for (const ReadyMacro& other : app.readyMacros)
        others += ReadyMacroBytes(other);
    uint64_t bytes = events.capacity() * sizeof(MacroEvent) + header.size();
    macro.path = path;
    macro.stamp = stamp;
    macro.overBudget = header.size() > READY_HEADER_BYTES_MAX || others + bytes > READY_MACROS_BYTES_MAX;
    if (macro.overBudget) return false;
    macro.header = header;
    macro.events = std::move(events);
    macro.ready = true;
    return true;
}

bool TakeReadyMacro(size_t slot, const std::wstring& path, FileStamp stamp, MacroFileContents& contents) {
    ReadyMacro& macro = app.readyMacros[slot];
    if (!macro.ready || macro.path != path || !(macro.stamp == stamp)) return false;
    if (!ReadMacroFile(macro.header, contents)) return false;
    contents.events.swap(macro.events);
    macro.ready = false;
    return true;
}
