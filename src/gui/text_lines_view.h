#pragma once

#include <QAbstractScrollArea>
#include <QList>

class QKeyEvent;

// A read-only view of plain text, line by line, for exhibits of any size.
// Setting the text only finds where its lines start, in one linear pass;
// painting lays out just the lines in view, and of each only the columns in
// view, so a line of many megabytes costs no more to paint than a short one.
// (A text document builds a block per line and lays out whole lines.) It
// scrolls sideways by columns and assumes a fixed-pitch font.
class TextLinesView : public QAbstractScrollArea
{
    Q_OBJECT
    Q_PROPERTY(QString plainText READ toPlainText WRITE setPlainText)

public:
    explicit TextLinesView(QWidget *parent = nullptr);

    // Lines end in LF or CR LF; the end of each is not shown.
    void setPlainText(const QString &text);
    QString toPlainText() const { return text_; }
    int lineCount() const { return int(starts_.size()); }

    // Line i (0-based) as painted, from column `first` on and at most
    // `columns` wide: no line end, tabs expanded. Its cost is bounded by the
    // columns asked for, not by the length of the line.
    QString displayed_line(int i, qsizetype first = 0, qsizetype columns = -1) const;

    // Arrows, Page Up/Down, Home/End (sideways), Ctrl+Home/End (top,
    // bottom). True when the key scrolled the view. The exhibit window
    // hands its keys here, as its focus stays on the close button.
    bool scroll_by_key(const QKeyEvent &event);

    // For screen readers (the accessible interface of text_lines_view.cpp):
    // a caret at the start of a line, moved by the keys that scroll down and
    // up, so a screen reader reads the line it lands on. Where the view can
    // scroll no further the caret still moves on, through the last lines.
    int caret_line() const { return caret_line_; }
    void set_caret_line(int line);
    // The line (0-based) that holds the character at offset, and the
    // range [start, end) of that line, its line end included.
    int line_at(qsizetype offset) const;
    qsizetype line_start(int i) const { return starts_.at(i); }
    qsizetype line_after(int i) const { return i + 1 < starts_.size() ? starts_.at(i + 1) : text_.size(); }
    // Where the character at offset is painted, in viewport coordinates,
    // and the offset of the character painted at a point.
    QRect character_rect(qsizetype offset) const;
    qsizetype offset_at(QPoint point) const;
    // Scrolls so the character at offset shows.
    void show_offset(qsizetype offset);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void update_scroll_bars();
    qsizetype line_end(int i) const;
    int visible_columns() const;
    qsizetype column_of(qsizetype offset) const;
    qsizetype offset_of_column(int line, qsizetype column) const;

    QString text_;
    QList<qsizetype> starts_;       // where each line begins in text_
    QList<qsizetype> checkpoints_;  // the column of every kCheckpoint-th character of text_
    qsizetype widest_ = 0;          // columns of the longest line
    int caret_line_ = 0;
};
