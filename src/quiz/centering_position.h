#pragma once

#include <QPointF>
#include <QSizeF>

// Where a window goes to stand in the middle of the screen, less the
// offsets: a positive offset moves it left or up. Real division, so odd
// differences keep their half; a window larger than the screen gets a
// negative position.
QPointF centered_position(QSizeF screen, QSizeF window, float x_offset = 0, float y_offset = 0);
