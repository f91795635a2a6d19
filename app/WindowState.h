#pragma once

#include <cstdint>
#include <vector>

// Geometry of one control as recorded at start-up; the layout scales from it.
struct ControlGeometry {
    std::int16_t Top = 0;
    std::int16_t Left = 0;
    std::int16_t Width = 0;
    std::int16_t Height = 0;
    std::int16_t ParentScaleHeight = 0;
    std::int16_t ParentScaleWidth = 0;
    std::int16_t FontSize = 0;
};

// Inner sizes of the window, in pixels, within which the layout scales.
struct LayoutLimits {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

// The window's own state: what the layout recorded at start-up. The state of
// each subsystem lives in that subsystem's object.
struct WindowState {
    std::vector<ControlGeometry> ControlGeometryTable;
    LayoutLimits Limits;
};
