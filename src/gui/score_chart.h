#pragma once

#include <QDateTime>
#include <QWidget>
#include <vector>

// The score of each attempt over time: a line from the oldest attempt to the
// newest, with grid lines at 0, 50 and 100 percent and the first and last
// dates below. Drawn with QPainter in palette colours, so it follows a dark
// theme and stays sharp at any scale.
class ScoreChart : public QWidget
{
    Q_OBJECT

public:
    struct Point {
        QDateTime when;
        int percent = 0;
    };

    explicit ScoreChart(QWidget *parent = nullptr);

    // Points in any order; the chart sorts them by time.
    void set_points(std::vector<Point> points);
    const std::vector<Point> &points() const { return points_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::vector<Point> points_;
};
