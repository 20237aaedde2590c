// Placing the small windows beside the main window inside the work area.
#include "ui/windows/WindowPlacement.h"

#include <algorithm>

namespace {

int32_t Width(const ScreenRect& r) {
    return r.right - r.left;
}

int32_t Height(const ScreenRect& r) {
    return r.bottom - r.top;
}

ScreenRect At(int32_t left, int32_t top, int32_t width, int32_t height) {
    return {left, top, left + width, top + height};
}

bool Inside(const ScreenRect& place, const ScreenRect& work) {
    return place.left >= work.left && place.top >= work.top && place.right <= work.right &&
           place.bottom <= work.bottom;
}

// Slides `start` into [low, high - size]; the low end wins when the size does not fit.
int32_t Slide(int32_t start, int32_t size, int32_t low, int32_t high) {
    return std::max(low, std::min(start, high - size));
}

ScreenRect Beside(PlacementSide side, ScreenRect main, int32_t width, int32_t height, ScreenRect work,
                  bool alignEnd) {
    int32_t top = Slide(alignEnd ? main.bottom - height : main.top, height, work.top, work.bottom);
    int32_t left = Slide(alignEnd ? main.right - width : main.left, width, work.left, work.right);
    switch (side) {
    case RightOfMain:
        return At(main.right, top, width, height);
    case LeftOfMain:
        return At(main.left - width, top, width, height);
    case BelowMain:
        return At(left, main.bottom, width, height);
    case AboveMain:
    default:
        return At(left, main.top - height, width, height);
    }
}

} // namespace

ScreenRect PlaceBesideMain(ScreenRect main, int32_t width, int32_t height, ScreenRect work,
                           std::span<const PlacementSide> sides, bool alignEnd) {
    for (PlacementSide side : sides) {
        ScreenRect place = Beside(side, main, width, height, work, alignEnd);
        if (Inside(place, work)) return place;
    }
    PlacementSide first = sides.empty() ? RightOfMain : sides.front();
    return KeepInside(Beside(first, main, width, height, work, alignEnd), work);
}

ScreenRect KeepInside(ScreenRect place, ScreenRect work) {
    int32_t width = Width(place), height = Height(place);
    return At(Slide(place.left, width, work.left, work.right),
              Slide(place.top, height, work.top, work.bottom), width, height);
}
