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

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void update_scroll_bars();
    qsizetype line_end(int i) const;
    int visible_columns() const;

    QString text_;
    QList<qsizetype> starts_;       // where each line begins in text_
    QList<qsizetype> checkpoints_;  // the column of every kCheckpoint-th character of text_
    qsizetype widest_ = 0;          // columns of the longest line
};
