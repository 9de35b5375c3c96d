#include "gui/text_lines_view.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <limits>

namespace {

constexpr int kTabWidth = 8;
constexpr int kMargin = 4;
// A line is entered at the nearest checkpoint before the first column in
// view, so painting scans at most this many characters to reach it.
constexpr qsizetype kCheckpoint = 1024;

// Columns a character takes at that column. A CR left inside a line and
// the second half of a surrogate pair take none.
qsizetype advance(QChar c, qsizetype column)
{
    if (c == QLatin1Char('\t'))
        return kTabWidth - column % kTabWidth;
    return c == QLatin1Char('\r') || c.isLowSurrogate() ? 0 : 1;
}

// Lines are measured kBlock characters at a time where none of them is a
// line end, tab, CR or other control character, or half a surrogate pair:
// each then takes one column. (Written so that the compiler vectorizes it.)
constexpr qsizetype kBlock = 16;
static_assert(kCheckpoint % kBlock == 0);

bool is_plain_block(const char16_t *block)
{
    unsigned special = 0;
    for (qsizetype k = 0; k < kBlock; ++k)
        special |= unsigned(block[k] < 0x20) | unsigned((block[k] & 0xFC00) == 0xDC00);
    return special == 0;
}

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
    checkpoints_.clear();
    checkpoints_.reserve(text_.size() / kCheckpoint + 1);
    widest_ = 0;
    if (!text_.isEmpty())
        starts_.append(0);
    const char16_t *data = reinterpret_cast<const char16_t *>(text_.utf16());
    const qsizetype size = text_.size();
    qsizetype column = 0;
    for (qsizetype block = 0; block < size; block += kBlock) {
        if (block % kCheckpoint == 0)
            checkpoints_.append(column);
        if (block + kBlock <= size && is_plain_block(data + block)) {
            column += kBlock;
            continue;
        }
        for (qsizetype i = block; i < std::min(size, block + kBlock); ++i) {
            if (data[i] == u'\n') {
                widest_ = std::max(widest_, column);
                column = 0;
                if (i + 1 < size)  // a final line end starts no new line
                    starts_.append(i + 1);
            } else {
                column += advance(QChar(data[i]), column);
            }
        }
    }
    widest_ = std::max(widest_, column);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    update_scroll_bars();
    viewport()->update();
}

qsizetype TextLinesView::line_end(int i) const
{
    const qsizetype start = starts_.at(i);
    qsizetype end = i + 1 < starts_.size() ? starts_.at(i + 1) : text_.size();
    while (end > start && (text_.at(end - 1) == QLatin1Char('\n') || text_.at(end - 1) == QLatin1Char('\r')))
        --end;
    return end;
}

QString TextLinesView::displayed_line(int i, qsizetype first, qsizetype columns) const
{
    const qsizetype end = line_end(i);
    qsizetype index = starts_.at(i);
    qsizetype column = 0;
    // Columns only grow along a line: start from its last checkpoint at or
    // before the first column asked for.
    const qsizetype first_checkpoint = (index + kCheckpoint - 1) / kCheckpoint;
    const qsizetype end_checkpoint = end > index ? (end - 1) / kCheckpoint + 1 : first_checkpoint;
    if (first > 0 && first_checkpoint < end_checkpoint) {
        const auto begin = checkpoints_.cbegin() + first_checkpoint;
        const auto after = std::upper_bound(begin, checkpoints_.cbegin() + end_checkpoint, first);
        if (after != begin) {
            index = (after - 1 - checkpoints_.cbegin()) * kCheckpoint;
            column = *(after - 1);
        }
    }
    const qsizetype last = columns < 0 ? std::numeric_limits<qsizetype>::max() : first + columns;
    // Within kCheckpoint characters the first column is reached; after it a
    // column takes at most two (a surrogate pair). Characters that take no
    // column at all (stray CRs) count against this bound too.
    const qsizetype stop = columns < 0 ? end : std::min(end, index + kCheckpoint + 2 * columns + kTabWidth);
    QString line;
    for (; index < stop; ++index) {
        const QChar c = text_.at(index);
        const qsizetype width = advance(c, column);
        if (width > 0 && column >= last)
            break;
        if (column + width > first) {
            if (c == QLatin1Char('\t'))
                line.append(QString(column + width - std::max(column, first), QLatin1Char(' ')));
            else if (c != QLatin1Char('\r'))
                line.append(c);
        }
        column += width;
    }
    return line;
}

int TextLinesView::visible_columns() const
{
    const int column_width = std::max(1, QFontMetrics(font()).horizontalAdvance(QLatin1Char('M')));
    return std::max(1, (viewport()->width() - 2 * kMargin) / column_width);
}

void TextLinesView::update_scroll_bars()
{
    const QFontMetrics metrics(font());
    const int visible_lines = std::max(1, (viewport()->height() - 2 * kMargin) / metrics.lineSpacing());
    verticalScrollBar()->setRange(0, std::max(0, lineCount() - visible_lines));
    verticalScrollBar()->setPageStep(visible_lines);
    // Sideways the view scrolls by whole columns.
    horizontalScrollBar()->setRange(0, int(std::clamp<qsizetype>(widest_ - visible_columns(), 0, INT_MAX)));
    horizontalScrollBar()->setPageStep(visible_columns());
    horizontalScrollBar()->setSingleStep(1);
}

void TextLinesView::paintEvent(QPaintEvent *)
{
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetrics metrics(font());
    const qsizetype first = horizontalScrollBar()->value();
    const int columns = visible_columns() + 1;
    int y = kMargin + metrics.ascent();
    for (int i = verticalScrollBar()->value(); i < lineCount() && y - metrics.ascent() < viewport()->height(); ++i) {
        painter.drawText(kMargin, y, displayed_line(i, first, columns));
        y += metrics.lineSpacing();
    }
}

bool TextLinesView::scroll_by_key(const QKeyEvent &event)
{
    const bool control = event.modifiers() & Qt::ControlModifier;
    QScrollBar *down = verticalScrollBar();
    QScrollBar *across = horizontalScrollBar();
    switch (event.key()) {
    case Qt::Key_Up: down->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_Down: down->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_PageUp: down->triggerAction(QAbstractSlider::SliderPageStepSub); return true;
    case Qt::Key_PageDown: down->triggerAction(QAbstractSlider::SliderPageStepAdd); return true;
    case Qt::Key_Left: across->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_Right: across->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_Home: (control ? down : across)->triggerAction(QAbstractSlider::SliderToMinimum); return true;
    case Qt::Key_End: (control ? down : across)->triggerAction(QAbstractSlider::SliderToMaximum); return true;
    default: return false;
    }
}

void TextLinesView::keyPressEvent(QKeyEvent *event)
{
    if (!scroll_by_key(*event))
        QAbstractScrollArea::keyPressEvent(event);
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
