// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class QPainter;

class Network;

// A lab network drawn: devices at their places, links styled by what they
// do. Style is colour and line together (dashed blocking, dotted down, double
// bundled, heavier for the chosen VLAN) so it reads without colour; its accessible description is
// describe_network()'s text. The owner calls refresh() after each command.
class TopologyView : public QWidget {
    Q_OBJECT
public:
    enum class LinkLook { Forwarding, Blocking, Down, Bundled };

    explicit TopologyView(QWidget *parent = nullptr);

    void set_network(const Network *network);
    void set_vlan(int vlan);  // 0: none highlighted
    void refresh();           // after the network changed

    LinkLook look_of(int link) const;
    bool carries_vlan(int link) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    QPen pen_for(LinkLook look, bool highlighted) const;
    void draw_link(QPainter &painter, QPointF a, QPointF b, LinkLook look, bool highlighted) const;
    void paint_legend(QPainter &painter, const QRectF &area) const;

    const Network *network_ = nullptr;
    int vlan_ = 0;
};
