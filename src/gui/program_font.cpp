#include "gui/program_font.h"

#include <QApplication>
#include <QFont>

void apply_program_font()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
}
