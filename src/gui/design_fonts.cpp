#include "gui/design_fonts.h"

#include <QWidget>

void apply_design_point_sizes(QWidget &window)
{
    for (QWidget *child : window.findChildren<QWidget *>()) {
        const QVariant size = child->property("designPointSize");
        if (!size.isValid())
            continue;
        QFont font = child->font();
        font.setPointSizeF(size.toDouble());
        child->setFont(font);
    }
}
