#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QSize>

class QWidget;

// Keeps a window's controls in proportion when the window is resized: it
// remembers every child's design geometry and font size, and on each resize
// scales them by the window's size against its design size. Everything is
// computed from the design values, so growing and shrinking back restores
// each control exactly.
class ProportionalResizer : public QObject
{
    Q_OBJECT

public:
    // Records the window's current (design) layout; call after setupUi().
    explicit ProportionalResizer(QWidget &window);

signals:
    // After the controls have been laid out for a new window size.
    void resized();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Design {
        QPointer<QWidget> widget;
        QRect geometry;
        qreal point_size;
    };

    // The design rectangle of a control, scaled to the window's size now.
    QRect scaled_rect(QRect design) const;
    void rescale();

    QWidget &window_;
    QSize design_size_;
    QList<Design> designs_;
};
