#include "gui/centering.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

void place_beside(QWidget &window, const QWidget &anchor)
{
    QScreen *screen = anchor.screen() ? anchor.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    constexpr int gap = 8;
    const QRect area = screen->availableGeometry();
    const QRect beside = anchor.frameGeometry();
    const int width = window.frameGeometry().width();
    int x = beside.right() + gap;
    if (x + width > area.right())
        x = beside.left() - gap - width >= area.left() ? beside.left() - gap - width : area.right() - width;
    window.move(std::max(x, area.left()), std::max(beside.top(), area.top()));
}

void center_window(QWidget &window, float x_offset, float y_offset)
{
    QScreen *screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QPointF place = centered_position(area.size(), window.frameGeometry().size(), x_offset, y_offset);
    window.move(area.topLeft() + place.toPoint());
}
