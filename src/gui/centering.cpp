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
    const int frame = window.frameGeometry().width() - window.width();
    const int right_room = area.right() - beside.right() - gap, left_room = beside.left() - gap - area.left();
    const int room = std::max(right_room, left_room);
    int width = window.frameGeometry().width();
    // Narrowed to the wider side rather than laid over the anchor, while
    // the window still fits its content.
    if (width > room && room - frame >= window.minimumSizeHint().width()) {
        window.resize(room - frame, window.height());
        width = room;
    }
    int x = beside.right() + gap;
    if (width > right_room)
        x = width <= left_room ? beside.left() - gap - width : area.right() - width;
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
