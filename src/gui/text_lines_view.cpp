#include "gui/text_lines_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
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

// What a screen reader reads of the view: its whole text through the Text
// interface, by line, word or character, and the caret the keys move. Each
// call copies only the part asked for, however large the text.
class TextLinesAccessible : public QAccessibleWidget, public QAccessibleTextInterface
{
public:
    explicit TextLinesAccessible(TextLinesView *view) : QAccessibleWidget(view, QAccessible::EditableText) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // One text, read through the Text interface: the viewport and the
    // scroll bars inside would only be unnamed objects beside it (and the
    // viewport, focused with it, would take the screen reader's focus).
    int childCount() const override { return 0; }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.readOnly = true;
        state.multiLine = true;
        state.selectableText = true;
        return state;
    }

    QString text(int start, int end) const override
    {
        if (start < 0 || end <= start)
            return {};
        return text_().mid(start, std::min<qsizetype>(end, text_().size()) - start);
    }
    int characterCount() const override { return int(std::min<qsizetype>(text_().size(), INT_MAX)); }
    int cursorPosition() const override { return view().lineCount() ? int(view().line_start(view().caret_line())) : 0; }
    void setCursorPosition(int position) override
    {
        if (position >= 0 && position <= characterCount())
            view().set_caret_line(view().line_at(position));
    }

    QString textAtOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        const auto [from, to] = unit(offset, type);
        *start = int(from);
        *end = int(to);
        return text(*start, *end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        const qsizetype from = unit(offset, type).first;
        if (from <= 0) {
            *start = *end = 0;
            return {};
        }
        return textAtOffset(int(from - 1), type, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType type, int *start, int *end) const override
    {
        const qsizetype to = unit(offset, type).second;
        if (to >= text_().size()) {
            *start = *end = characterCount();
            return {};
        }
        return textAtOffset(int(to), type, start, end);
    }

    QRect characterRect(int offset) const override
    {
        const QRect rect = view().character_rect(offset);
        return rect.isNull() ? QRect() : QRect(view().viewport()->mapToGlobal(rect.topLeft()), rect.size());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        return int(view().offset_at(view().viewport()->mapFromGlobal(point)));
    }
    void scrollToSubstring(int start, int) override { view().show_offset(start); }
    QString attributes(int offset, int *start, int *end) const override
    {
        *start = 0;
        *end = std::max(offset, characterCount());
        return {};
    }

    // Read-only: there is no selection to read or make.
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}

private:
    TextLinesView &view() const { return *static_cast<TextLinesView *>(widget()); }
    // A shared copy: nothing is copied.
    QString text_() const { return view().toPlainText(); }

    // The range [start, end) of the unit of that type holding offset.
    std::pair<qsizetype, qsizetype> unit(int offset, QAccessible::TextBoundaryType type) const
    {
        const QString all = text_();
        const qsizetype size = all.size();
        const qsizetype at = std::clamp<qsizetype>(offset, 0, size);
        if (size == 0)
            return {0, 0};
        switch (type) {
        case QAccessible::CharBoundary: {
            if (at == size)
                return {size, size};
            const bool pair = all.at(at).isHighSurrogate() && at + 1 < size && all.at(at + 1).isLowSurrogate();
            return {at, at + (pair ? 2 : 1)};
        }
        case QAccessible::WordBoundary: {
            // A word and the white space after it, as AT-SPI's word start.
            qsizetype from = std::min(at, size - 1);
            while (from > 0 && all.at(from).isSpace())
                --from;
            while (from > 0 && !all.at(from - 1).isSpace())
                --from;
            qsizetype to = at;
            while (to < size && !all.at(to).isSpace())
                ++to;
            while (to < size && all.at(to).isSpace() && all.at(to) != QLatin1Char('\n'))
                ++to;
            if (to < size && all.at(to) == QLatin1Char('\n'))
                ++to;
            return {from, to};
        }
        case QAccessible::NoBoundary:
            return {0, size};
        default: {  // lines; sentences and paragraphs are lines too
            const int line = view().line_at(at);
            return {view().line_start(line), view().line_after(line)};
        }
        }
    }
};

QAccessibleInterface *text_lines_accessible(const QString &class_name, QObject *object)
{
    if (class_name == QLatin1String("TextLinesView") && object && object->isWidgetType())
        return new TextLinesAccessible(static_cast<TextLinesView *>(object));
    return nullptr;
}

} // namespace

TextLinesView::TextLinesView(QWidget *parent) : QAbstractScrollArea(parent)
{
    static const bool accessible = (QAccessible::installFactory(text_lines_accessible), true);
    Q_UNUSED(accessible);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    // The caret follows the view when it is scrolled by other means.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
        if (top != std::min(caret_line_, verticalScrollBar()->maximum()))
            set_caret_line(top);
    });
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
    caret_line_ = 0;
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

int TextLinesView::line_at(qsizetype offset) const
{
    if (starts_.isEmpty())
        return 0;
    return int(std::upper_bound(starts_.cbegin(), starts_.cend(), offset) - starts_.cbegin()) - 1;
}

qsizetype TextLinesView::column_of(qsizetype offset) const
{
    const int line = line_at(offset);
    qsizetype index = starts_.at(line);
    qsizetype column = 0;
    // From the checkpoint before it when that is on the same line.
    const qsizetype checkpoint = offset / kCheckpoint;
    if (checkpoint * kCheckpoint > index && checkpoint < checkpoints_.size()) {
        index = checkpoint * kCheckpoint;
        column = checkpoints_.at(checkpoint);
    }
    for (; index < offset; ++index)
        column += advance(text_.at(index), column);
    return column;
}

qsizetype TextLinesView::offset_of_column(int line, qsizetype column) const
{
    const qsizetype end = line_end(line);
    qsizetype index = starts_.at(line);
    qsizetype at = 0;
    const qsizetype first_checkpoint = (index + kCheckpoint - 1) / kCheckpoint;
    const qsizetype end_checkpoint = end > index ? (end - 1) / kCheckpoint + 1 : first_checkpoint;
    if (first_checkpoint < end_checkpoint) {
        const auto begin = checkpoints_.cbegin() + first_checkpoint;
        const auto after = std::upper_bound(begin, checkpoints_.cbegin() + end_checkpoint, column);
        if (after != begin) {
            index = (after - 1 - checkpoints_.cbegin()) * kCheckpoint;
            at = *(after - 1);
        }
    }
    for (; index < end; ++index) {
        const qsizetype width = advance(text_.at(index), at);
        if (at + width > column)
            break;
        at += width;
    }
    return index;
}

void TextLinesView::set_caret_line(int line)
{
    caret_line_ = std::clamp(line, 0, std::max(0, lineCount() - 1));
    // The view scrolls as it did before there was a caret: the caret's line
    // at the top, as far as the view goes.
    verticalScrollBar()->setValue(std::min(caret_line_, verticalScrollBar()->maximum()));
    if (QAccessible::isActive() && lineCount() > 0) {
        QAccessibleTextCursorEvent moved(this, int(starts_.at(caret_line_)));
        QAccessible::updateAccessibility(&moved);
    }
}

QRect TextLinesView::character_rect(qsizetype offset) const
{
    if (offset < 0 || offset >= text_.size())
        return {};
    const QFontMetrics metrics(font());
    const int column_width = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    const qsizetype column = column_of(offset) - horizontalScrollBar()->value();
    const int row = line_at(offset) - verticalScrollBar()->value();
    const qsizetype x = kMargin + column * column_width;
    if (x < INT_MIN / 2 || x > INT_MAX / 2)
        return {};
    return QRect(int(x), kMargin + row * metrics.lineSpacing(), column_width, metrics.lineSpacing());
}

qsizetype TextLinesView::offset_at(QPoint point) const
{
    if (lineCount() == 0)
        return 0;
    const QFontMetrics metrics(font());
    const int column_width = std::max(1, metrics.horizontalAdvance(QLatin1Char('M')));
    const int line = std::clamp(verticalScrollBar()->value() + (point.y() - kMargin) / metrics.lineSpacing(), 0,
                                lineCount() - 1);
    const qsizetype column = horizontalScrollBar()->value() + std::max(0, point.x() - kMargin) / column_width;
    return offset_of_column(line, column);
}

void TextLinesView::show_offset(qsizetype offset)
{
    if (offset < 0 || offset > text_.size() || lineCount() == 0)
        return;
    set_caret_line(line_at(offset));
    const qsizetype column = column_of(offset);
    QScrollBar *across = horizontalScrollBar();
    if (column < across->value() || column >= across->value() + visible_columns())
        across->setValue(int(std::min<qsizetype>(column, across->maximum())));
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
    case Qt::Key_Up: set_caret_line(caret_line_ - 1); return true;
    case Qt::Key_Down: set_caret_line(caret_line_ + 1); return true;
    case Qt::Key_PageUp: set_caret_line(caret_line_ - down->pageStep()); return true;
    case Qt::Key_PageDown: set_caret_line(caret_line_ + down->pageStep()); return true;
    case Qt::Key_Left: across->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
    case Qt::Key_Right: across->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
    case Qt::Key_Home:
        control ? set_caret_line(0) : across->triggerAction(QAbstractSlider::SliderToMinimum);
        return true;
    case Qt::Key_End:
        control ? set_caret_line(lineCount() - 1) : across->triggerAction(QAbstractSlider::SliderToMaximum);
        return true;
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
