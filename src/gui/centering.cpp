#include "gui/centering.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void center_window(QWidget &window, float x_offset, float y_offset)
{
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QPointF place = centered_position(area.size(), window.frameGeometry().size(), x_offset, y_offset);
    window.move(area.topLeft() + place.toPoint());
}
