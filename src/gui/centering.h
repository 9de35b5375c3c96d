#pragma once

#include "quiz/centering_position.h"

class QWidget;

// Moves the window (its frame) to the middle of its screen.
void center_window(QWidget &window, float x_offset = 0, float y_offset = 0);
