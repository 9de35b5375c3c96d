#pragma once

#include <QAbstractScrollArea>
#include <QList>

// A read-only view of plain text, line by line, for exhibits of any size.
// Setting the text only finds where its lines start, in one linear pass;
// painting lays out just the lines in view. (A text document builds a block
// per line, which costs more than linear time on large files.) Best with a
// fixed-pitch font: the horizontal scroll range assumes one.
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

    // The text of line i (0-based) as painted: no line end, tabs expanded.
    QString displayed_line(int i) const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void update_scroll_bars();

    QString text_;
    QList<qsizetype> starts_;  // where each line begins in text_
    qsizetype widest_ = 0;     // columns of the longest line
};
