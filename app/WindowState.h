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

struct LayoutLimits {
    int MinWidth = 0;
    int MinHeight = 0;
    int MaxWidth = 0;
    int MaxHeight = 0;
};

enum class AnimationStates : int { Unset = 0, Running = 1, Stopped = 2 };

// The state the window shares between its subsystems.
struct WindowState {
    std::int16_t FindContinue = 0;  // the enumeration loops run while non-zero
    bool StopRequested = false;     // a running walk must stop
    bool SearchIdle = false;        // no search runs; gates the copy-image button
    std::int16_t PaintWidth = 0;    // paint rectangle of the preview, in twips
    std::int16_t PaintHeight = 0;
    AnimationStates AnimationState = AnimationStates::Unset;
    std::vector<ControlGeometry> ControlGeometryTable;
    LayoutLimits Limits;
    int FlipStep = 0;          // right clicks on the banner, modulo 3
    int HoveredEntry = -1;     // the entry the list's tool tip names
    bool HoverTipSet = false;  // whether the list's tool tip was set yet
    bool Closing = false;  // the window is going away: every long loop unwinds
};
