// Paint cost of the path editor under Wine: milliseconds per paint of a 100,000-point path, into
// a memory bitmap and through the window's own WM_PAINT, plus one press's hit test.
#include "core/AppState.h"
#include "ui/theme/Theme_win.h"
#include "ui/windows/PathEditor_win.h"
#include "ui/windows/PathView.h"

#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>

namespace {

double MsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main() {
    const size_t moves = 100'000;
    for (size_t i = 0; i < moves; ++i) {
        auto dx = static_cast<int32_t>(std::lround(3 * std::sin(i * 0.01)));
        auto dy = static_cast<int32_t>(std::lround(3 * std::cos(i * 0.013)));
        app.events.push_back({Move, dx, dy, 0, 0, 8});
    }
    OpenPathEditor();
    HWND editor = app.pathEditorWindow.load();
    if (!editor) {
        std::printf("the editor window could not be created\n");
        return 1;
    }
    RECT client{};
    GetClientRect(editor, &client);

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(nullptr, screen);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const int rounds = 30;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        PaintPathEditor(editor, memory);
    double memoryMs = MsSince(start) / rounds;
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i) {
        InvalidateRect(editor, nullptr, TRUE);
        UpdateWindow(editor);
    }
    double windowMs = MsSince(start) / rounds;

    start = std::chrono::steady_clock::now();
    for (int i = 0; i < rounds; ++i)
        HitTestPath({client.right / 2, client.bottom / 2}, client.right, client.bottom);
    double hitMs = MsSince(start) / rounds;

    std::printf("%zu points, client %ldx%ld: paint into memory %.2f ms, WM_PAINT of the window %.2f ms, "
                "hit test %.2f ms\n",
                app.pathPoints.size(), client.right, client.bottom, memoryMs, windowMs, hitMs);
    DestroyWindow(editor);
    return 0;
}
