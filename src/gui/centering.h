#pragma once

#include "quiz/centering_position.h"

class QWidget;

// Moves the window (its frame) to the middle of its screen.
void center_window(QWidget &window, float x_offset = 0, float y_offset = 0);

// Moves the window beside the anchor: to its right when it fits on the
// screen, else to its left, else narrowed to the wider side when its
// content allows, else as far right as the screen allows.
void place_beside(QWidget &window, const QWidget &anchor);
