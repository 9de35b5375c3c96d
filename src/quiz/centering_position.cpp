#include "quiz/centering_position.h"

QPointF centered_position(QSizeF screen, QSizeF window, float x_offset, float y_offset)
{
    const float left = (float(screen.width()) - float(window.width())) / 2.0f - x_offset;
    const float top = (float(screen.height()) - float(window.height())) / 2.0f - y_offset;
    return {left, top};
}
