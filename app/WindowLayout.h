#pragma once

#include "app/ControlTable.h"
#include "app/WindowState.h"

#include <QSize>

#include <vector>

class CaptionFit;

namespace layout {

// Moves, resizes and re-fonts every control in proportion to the window's inner
// size, from the geometry recorded at start-up; outside the window-size limits an
// axis keeps what it last had.
void scaleControls(const std::vector<ControlEntry> &controls, const WindowState &state, QSize inner,
                   CaptionFit &fit);

}  // namespace layout
