// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/topology_view.h"

#include "gui/colour_contrast.h"
#include "lab/lab.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

TopologyView::TopologyView(QWidget *parent) : QWidget(parent)
{
    // Focusable so a screen reader user reaches the description with Tab.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Network diagram"));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void TopologyView::set_network(const Network *network)
{
    network_ = network;
    refresh();
}

void TopologyView::set_vlan(int vlan)
{
    vlan_ = vlan;
    update();
}

void TopologyView::refresh()
{
    setAccessibleDescription(network_ ? describe_network(*network_) : QString());
    update();
}

TopologyView::LinkLook TopologyView::look_of(int index) const
{
    const Link &link = network_->model().links[index];
    const NetworkState &state = network_->state();
    bool bundled = false, blocking = false;
    for (const auto &[device, port] : {std::pair{link.device_a, link.port_a}, std::pair{link.device_b, link.port_b}}) {
        if (device >= state.devices.size() || port >= state.devices[device].ports.size())
            continue;
        const DeviceState &ds = state.devices[device];
        const PortStatus &status = ds.ports[port];
        // A member left out of its bundle passes nothing: drawn as down.
        if (!status.link_up || !status.err_disabled.isEmpty() || status.logical < 0)
            return LinkLook::Down;
        if (status.logical >= ds.logical.size())
            continue;
        const LogicalPort &logical = ds.logical[status.logical];
        bundled = bundled || logical.bundle != 0;
        // Hosts and routers take no part in the spanning tree: only a
        // switch's port can block.
        blocking = blocking || (network_->device(device).kind == DeviceKind::Switch && logical.state == PortState::Blocking);
    }
    if (blocking)
        return LinkLook::Blocking;
    return bundled ? LinkLook::Bundled : LinkLook::Forwarding;
}

bool TopologyView::carries_vlan(int index) const
{
    if (vlan_ <= 0)
        return false;
    const Link &link = network_->model().links[index];
    bool any_switch = false;
    for (const auto &[device, port] : {std::pair{link.device_a, link.port_a}, std::pair{link.device_b, link.port_b}}) {
        const Device &d = network_->device(device);
        if (d.kind != DeviceKind::Switch || port >= d.config.ports.size())
            continue;
        any_switch = true;
        const PortConfig &config = d.config.ports[port];
        if (config.trunk ? !config.allowed.contains(vlan_) : config.access_vlan != vlan_)
            return false;
    }
    return any_switch;
}

QPen TopologyView::pen_for(LinkLook look, bool highlighted) const
{
    const QColor base = palette().color(QPalette::Base);
    // Hues picked once, then moved until they stand out from this palette's
    // background: the same hue reads on a light and a dark base.
    const auto hue = [&](const QColor &colour) { return with_contrast(colour, base, 3.0); };
    const qreal unit = fontMetrics().height() / 8.0;
    QPen pen;
    switch (look) {
    case LinkLook::Forwarding:
        pen = QPen(hue(QColor(0x2e, 0x9e, 0x44)), 2 * unit, Qt::SolidLine, Qt::FlatCap);
        break;
    case LinkLook::Blocking:
        pen = QPen(hue(QColor(0xe0, 0x8a, 0x00)), 2 * unit, Qt::DashLine, Qt::FlatCap);
        break;
    case LinkLook::Down:
        // Round dots, so "dotted" stays unlike "dashed" however heavy.
        pen = QPen(hue(QColor(0xd0, 0x30, 0x30)), 2 * unit);
        pen.setDashPattern({0.01, 2.2});
        pen.setCapStyle(Qt::RoundCap);
        break;
    case LinkLook::Bundled:
        pen = QPen(hue(QColor(0x30, 0x70, 0xe0)), 6 * unit, Qt::SolidLine, Qt::FlatCap);
        break;
    }
    if (highlighted)
        pen.setWidthF(pen.widthF() + 3 * unit);
    return pen;
}

QSize TopologyView::sizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 30, line * 22};
}

QSize TopologyView::minimumSizeHint() const
{
    const int line = fontMetrics().height();
    return {line * 16, line * 12};
}

void TopologyView::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange)
        update();
    QWidget::changeEvent(event);
}

static const char *look_word(TopologyView::LinkLook look)
{
    switch (look) {
    case TopologyView::LinkLook::Forwarding: return QT_TRANSLATE_NOOP("TopologyView", "forwarding");
    case TopologyView::LinkLook::Blocking: return QT_TRANSLATE_NOOP("TopologyView", "blocking (dashed)");
    case TopologyView::LinkLook::Down: return QT_TRANSLATE_NOOP("TopologyView", "down (dotted)");
    case TopologyView::LinkLook::Bundled: return QT_TRANSLATE_NOOP("TopologyView", "bundled (double)");
    }
    return "";
}

void TopologyView::draw_link(QPainter &painter, QPointF a, QPointF b, LinkLook look, bool highlighted) const
{
    const QPen pen = pen_for(look, highlighted);
    painter.setPen(pen);
    painter.drawLine(a, b);
    // A bundle is drawn as two cables side by side: a line of the
    // background down its middle, so it differs from a heavy line by shape.
    if (look == LinkLook::Bundled) {
        painter.setPen(QPen(palette().color(QPalette::Base), pen.widthF() / 3, Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(a, b);
    }
}

void TopologyView::paint_legend(QPainter &painter, const QRectF &area) const
{
    const QFontMetricsF metrics(font());
    const qreal sample = metrics.height() * 2;
    qreal x = area.left();
    qreal y = area.top() + metrics.height() / 2;
    const auto item = [&](LinkLook look, bool highlighted, const QString &text) {
        const qreal width = sample + metrics.height() / 2 + metrics.horizontalAdvance(text) + metrics.height();
        if (x + width > area.right() && x > area.left()) {
            x = area.left();
            y += metrics.height() * 1.4;
        }
        draw_link(painter, QPointF(x, y), QPointF(x + sample, y), look, highlighted);
        painter.setPen(palette().color(QPalette::Text));
        painter.drawText(QPointF(x + sample + metrics.height() / 2, y + metrics.ascent() / 2 - metrics.descent() / 2), text);
        x += width;
    };
    for (LinkLook look : {LinkLook::Forwarding, LinkLook::Blocking, LinkLook::Down, LinkLook::Bundled})
        item(look, false, tr(look_word(look)));
    if (vlan_ > 0)
        item(LinkLook::Forwarding, true, tr("heavier: carries VLAN %1").arg(vlan_));
}

void TopologyView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPalette &colours = palette();
    painter.fillRect(rect(), colours.color(QPalette::Base));
    if (!network_ || network_->model().devices.isEmpty())
        return;
    const QFontMetricsF metrics(font());
    const qreal line = metrics.height();
    const int legend_lines = width() < line * 40 ? 3 : 2;
    const QRectF legend(line / 2, height() - legend_lines * line * 1.4, width() - line, legend_lines * line * 1.4);
    // Device boxes are placed by their centres: keep a box's half inside.
    const QRectF area = QRectF(rect()).adjusted(line * 3, line * 2.5, -line * 3, -line * 2.5 - legend.height());

    const QVector<Device> &devices = network_->model().devices;
    qreal left = devices[0].x, right = left, top = devices[0].y, bottom = top;
    for (const Device &d : devices) {
        left = std::min(left, d.x), right = std::max(right, d.x);
        top = std::min(top, d.y), bottom = std::max(bottom, d.y);
    }
    const qreal span_x = std::max(right - left, 1.0), span_y = std::max(bottom - top, 1.0);
    // One scale for both axes so the author's layout keeps its shape.
    const qreal scale = std::min(area.width() / span_x, area.height() / span_y);
    const QPointF offset(area.left() + (area.width() - span_x * scale) / 2, area.top() + (area.height() - span_y * scale) / 2);
    QVector<QPointF> centre;
    for (const Device &d : devices)
        centre << offset + QPointF((d.x - left) * scale, (d.y - top) * scale);

    const QVector<Link> &links = network_->model().links;
    // Parallel links between the same two devices are spread apart.
    QMap<QPair<int, int>, int> seen;
    for (int i = 0; i < links.size(); ++i) {
        const Link &link = links[i];
        const auto key = qMakePair(std::min(link.device_a, link.device_b), std::max(link.device_a, link.device_b));
        const int nth = seen[key]++;
        int total = 0;
        for (const Link &other : links)
            total += qMakePair(std::min(other.device_a, other.device_b), std::max(other.device_a, other.device_b)) == key;
        QPointF a = centre[link.device_a], b = centre[link.device_b];
        const QPointF along = b - a;
        const qreal length = std::max(std::hypot(along.x(), along.y()), 1.0);
        const QPointF across(-along.y() / length, along.x() / length);
        const QPointF shift = across * (nth - (total - 1) / 2.0) * line * 1.5;
        draw_link(painter, a + shift, b + shift, look_of(i), carries_vlan(i));
        // The port names near each end, where the reader looks for them.
        painter.setPen(colours.color(QPalette::Text));
        QFont small = font();
        small.setPointSizeF(small.pointSizeF() * 0.8);
        painter.setFont(small);
        const auto label = [&](int device, int port, QPointF from, QPointF towards) {
            const QPointF at = from + (towards - from) * std::min(0.3, line * 3.2 / length) + shift + across * line * 0.9;
            painter.drawText(QRectF(at.x() - line * 2, at.y() - line / 2, line * 4, line), Qt::AlignCenter,
                             devices[device].ports.value(port));
        };
        label(link.device_a, link.port_a, a, b);
        label(link.device_b, link.port_b, b, a);
        painter.setFont(font());
    }

    for (int i = 0; i < devices.size(); ++i) {
        const Device &d = devices[i];
        const qreal w = std::max(metrics.horizontalAdvance(d.name) + line, line * 3.5);
        const QRectF box(centre[i].x() - w / 2, centre[i].y() - line * 0.8, w, line * 1.6);
        painter.setPen(QPen(colours.color(QPalette::Text), line / 10));
        painter.setBrush(colours.color(d.kind == DeviceKind::Host ? QPalette::AlternateBase : QPalette::Button));
        // Shape tells the kind too: hosts round, routers oval, switches square.
        const qreal radius = d.kind == DeviceKind::Switch ? line / 6 : d.kind == DeviceKind::Router ? line * 0.8 : line / 2;
        painter.drawRoundedRect(box, radius, radius);
        painter.setPen(colours.color(d.kind == DeviceKind::Host ? QPalette::Text : QPalette::ButtonText));
        painter.drawText(box, Qt::AlignCenter, d.name);
    }
    painter.setBrush(Qt::NoBrush);
    paint_legend(painter, legend);
    if (hasFocus()) {
        painter.setPen(QPen(colours.color(QPalette::Highlight), line / 6));
        painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}
