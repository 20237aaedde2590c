// Path tests on the fixed folders.
#include "storage/Folders.h"

namespace {

wchar_t FoldAscii(wchar_t c) {
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
    }
    return true;
}

} // namespace

bool HasPrefixIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

bool HasSuffixIgnoringCase(std::wstring_view text, std::wstring_view suffix) {
    return text.size() >= suffix.size() &&
           EqualIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

bool IsDriveLetterPath(std::wstring_view path) {
    if (path.size() < 3 || FoldAscii(path[0]) < L'a' || FoldAscii(path[0]) > L'z') return false;
    return path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
}

std::wstring MacroPathForName(std::wstring_view name) {
    std::wstring path(MACRO_FOLDER);
    path += L'\\';
    path += name;
    if (!HasSuffixIgnoringCase(path, L".kmc")) path += L".kmc";
    if (path.size() <= LONGEST_PATH) return path;
    // The name gives way, the extension stays; a surrogate pair is not cut in two.
    size_t cut = LONGEST_PATH - 4;
    if (path[cut - 1] >= 0xD800 && path[cut - 1] <= 0xDBFF) --cut;
    return path.substr(0, cut) + path.substr(path.size() - 4);
}

std::wstring OutputNameFromPath(std::wstring_view path) {
    size_t slash = path.find_last_of(L"\\/");
    std::wstring_view name = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
    constexpr std::wstring_view extension = L".kmc";
    if (HasSuffixIgnoringCase(name, extension)) name.remove_suffix(extension.size());
    return std::wstring(name);
}
