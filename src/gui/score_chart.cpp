#include "gui/score_chart.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// Dots mark each attempt while they stay apart; with many, the line alone reads better.
constexpr int most_dots = 60;

} // namespace

ScoreChart::ScoreChart(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void ScoreChart::set_points(std::vector<Point> points)
{
    std::stable_sort(points.begin(), points.end(), [](const Point &a, const Point &b) { return a.when < b.when; });
    points_ = std::move(points);
    setAccessibleDescription(points_.empty() ? tr("No attempts yet")
                                             : tr("%n attempt(s), the latest %1%", nullptr, int(points_.size()))
                                                   .arg(points_.back().percent));
    update();
}

void ScoreChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), palette().base());
    painter.setPen(palette().color(QPalette::Text));
    if (points_.empty()) {
        painter.drawText(rect(), Qt::AlignCenter, tr("No attempts yet"));
        return;
    }

    const QFontMetrics metrics = fontMetrics();
    const int gap = metrics.height() / 2;
    const QRectF plot = QRectF(rect()).adjusted(metrics.horizontalAdvance(QStringLiteral("100%")) + 2 * gap, gap + 1,
                                                -2 * gap, -(metrics.height() + gap));
    const auto y_of = [&](int percent) { return plot.bottom() - plot.height() * percent / 100.0; };

    QColor grid = palette().color(QPalette::Text);
    grid.setAlphaF(0.25);
    for (int percent : {0, 50, 100}) {
        painter.setPen(grid);
        painter.drawLine(QPointF(plot.left(), y_of(percent)), QPointF(plot.right(), y_of(percent)));
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QRectF(0, y_of(percent) - metrics.height() / 2.0, plot.left() - gap, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1%").arg(percent));
    }

    const QLocale locale;
    const QDateTime first = points_.front().when, last = points_.back().when;
    const QRectF dates(plot.left(), plot.bottom() + gap / 2.0, plot.width(), metrics.height());
    painter.drawText(dates, Qt::AlignLeft, locale.toString(first.toLocalTime().date(), QLocale::ShortFormat));
    if (last.date() != first.date())
        painter.drawText(dates, Qt::AlignRight, locale.toString(last.toLocalTime().date(), QLocale::ShortFormat));

    // One attempt alone sits in the middle; otherwise time runs left to right.
    const qint64 span = first.msecsTo(last);
    const auto x_of = [&](const QDateTime &when) {
        return span == 0 ? plot.center().x() : plot.left() + plot.width() * double(first.msecsTo(when)) / double(span);
    };
    QPainterPath line;
    for (const Point &point : points_) {
        const QPointF at(x_of(point.when), y_of(point.percent));
        if (line.elementCount() == 0)
            line.moveTo(at);
        else
            line.lineTo(at);
    }
    const QColor ink = palette().color(QPalette::Highlight);
    painter.setPen(QPen(ink, 2));
    painter.drawPath(line);
    if (points_.size() <= size_t(most_dots)) {
        painter.setBrush(ink);
        for (const Point &point : points_)
            painter.drawEllipse(QPointF(x_of(point.when), y_of(point.percent)), 3, 3);
    }
}
