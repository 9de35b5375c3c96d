#include "text_lines_view.h"

#include <QEvent>
#include <QPainter>
#include <QScrollBar>

namespace {

constexpr int kTabWidth = 8;
constexpr int kMargin = 4;

} // namespace

TextLinesView::TextLinesView(QWidget *parent) : QAbstractScrollArea(parent)
{
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void TextLinesView::setPlainText(const QString &text)
{
    text_ = text;
    starts_.clear();
    widest_ = 0;
    if (!text_.isEmpty())
        starts_.append(0);
    qsizetype column = 0;
    for (qsizetype i = 0; i < text_.size(); ++i) {
        const QChar c = text_.at(i);
        if (c == QLatin1Char('\n')) {
            column = 0;
            if (i + 1 < text_.size())  // a final line end starts no new line
                starts_.append(i + 1);
        } else if (c != QLatin1Char('\r')) {
            column = c == QLatin1Char('\t') ? (column / kTabWidth + 1) * kTabWidth : column + 1;
            widest_ = std::max(widest_, column);
        }
    }
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    update_scroll_bars();
    viewport()->update();
}

QString TextLinesView::displayed_line(int i) const
{
    const qsizetype start = starts_.at(i);
    qsizetype end = i + 1 < starts_.size() ? starts_.at(i + 1) : text_.size();
    while (end > start && (text_.at(end - 1) == QLatin1Char('\n') || text_.at(end - 1) == QLatin1Char('\r')))
        --end;
    QString line;
    for (const QChar c : QStringView(text_).mid(start, end - start)) {
        if (c == QLatin1Char('\t'))
            line.append(QString(kTabWidth - line.size() % kTabWidth, QLatin1Char(' ')));
        else
            line.append(c);
    }
    return line;
}

void TextLinesView::update_scroll_bars()
{
    const QFontMetrics metrics(font());
    const int visible_lines = std::max(1, (viewport()->height() - 2 * kMargin) / metrics.lineSpacing());
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visible_lines));
    verticalScrollBar()->setPageStep(visible_lines);
    const qint64 width = widest_ * metrics.horizontalAdvance(QLatin1Char('M')) + 2 * kMargin;
    horizontalScrollBar()->setRange(0, int(std::clamp<qint64>(width - viewport()->width(), 0, INT_MAX)));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(metrics.horizontalAdvance(QLatin1Char('M')));
}

void TextLinesView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics(font());
    const int x = kMargin - horizontalScrollBar()->value();
    int y = kMargin + metrics.ascent();
    for (int i = verticalScrollBar()->value(); i < lineCount() && y - metrics.ascent() < viewport()->height(); ++i) {
        painter.drawText(x, y, displayed_line(i));
        y += metrics.lineSpacing();
    }
}

void TextLinesView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    update_scroll_bars();
}

void TextLinesView::changeEvent(QEvent *event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        update_scroll_bars();
}
