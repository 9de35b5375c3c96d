#include "gui/proportional_resizer.h"

#include <QEvent>
#include <QWidget>
#include <cmath>

ProportionalResizer::ProportionalResizer(QWidget &window)
    : QObject(&window), window_(window), design_size_(window.size())
{
    for (QWidget *child : window.findChildren<QWidget *>()) {
        // Only the controls laid out by hand; the inner parts of composite
        // widgets (viewports, scroll bars) follow their owner.
        if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        designs_.append({child, child->geometry(), child->font().pointSizeF()});
    }
    window.installEventFilter(this);
}

QRect ProportionalResizer::scaled_rect(QRect design) const
{
    const double sx = double(window_.width()) / design_size_.width();
    const double sy = double(window_.height()) / design_size_.height();
    // Scale the edges rather than the sizes so neighbours stay adjacent.
    const int left = int(std::lround(design.x() * sx));
    const int top = int(std::lround(design.y() * sy));
    const int right = int(std::lround((design.x() + design.width()) * sx));
    const int bottom = int(std::lround((design.y() + design.height()) * sy));
    return {left, top, right - left, bottom - top};
}

void ProportionalResizer::rescale()
{
    const double font_scale = std::min(double(window_.width()) / design_size_.width(),
                                       double(window_.height()) / design_size_.height());
    for (const Design &design : std::as_const(designs_)) {
        if (!design.widget)
            continue;
        design.widget->setGeometry(scaled_rect(design.geometry));
        if (design.point_size > 0) {
            QFont font = design.widget->font();
            font.setPointSizeF(std::max(1.0, design.point_size * font_scale));
            design.widget->setFont(font);
        }
    }
    emit resized();
}

bool ProportionalResizer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &window_ && event->type() == QEvent::Resize && !design_size_.isEmpty())
        rescale();
    return QObject::eventFilter(watched, event);
}
