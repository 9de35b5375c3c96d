// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What a lab network is made of: devices with named ports, the links between
// ports, and each device's configuration as the commands leave it. The
// state the network computes from this lives in network_state.h.
#include "lab/ipv4.h"
#include "lab/vlan_set.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>

enum class DeviceKind { Switch, Router, Host };
enum class BundleMode { Static, LacpActive, LacpPassive };
enum class Violation { Shutdown, Restrict, Protect };

QString kind_name(DeviceKind kind);
QString bundle_mode_name(BundleMode mode);
QString violation_name(Violation action);

struct PortConfig {
    bool shutdown = false;
    bool trunk = false;
    int access_vlan = 1;
    VlanSet allowed = VlanSet::all();
    int native_vlan = 1;
    // Spanning tree; cost 0 means the default for the link's speed.
    int cost = 0;
    int priority = 128;
    bool edge = false;
    bool bpdu_guard = false;
    bool root_guard = false;
    // Port security.
    bool security = false;
    int security_max = 1;
    Violation violation = Violation::Shutdown;
    bool sticky = false;
    int bundle = 0;  // 0: not in a bundle

    // The settings members of one bundle must share.
    bool same_vlans(const PortConfig &other) const
    {
        return trunk == other.trunk && (trunk ? allowed == other.allowed && native_vlan == other.native_vlan
                                              : access_vlan == other.access_vlan);
    }
};

// A routed interface: a router's sub-interface on a trunk port ("P1.20"),
// or a switch's interface in a VLAN (port -1).
struct RoutedInterface {
    int port = -1;
    int number = 1;  // of a sub-interface, after the dot; the VLAN for a switch
    int vlan = 1;
    Ipv4Interface ip;
};

struct DeviceConfig {
    // Switches.
    bool rapid = true;
    int bridge_priority = 32768;
    QMap<int, QString> vlans{{1, QStringLiteral("default")}};
    QMap<int, BundleMode> bundles;
    // Switches and routers, one per port of the device.
    QVector<PortConfig> ports;
    QVector<RoutedInterface> interfaces;
    // Hosts.
    Ipv4Interface address;
    quint32 gateway = 0;  // 0: none
};

struct Device {
    QString name;
    DeviceKind kind = DeviceKind::Switch;
    QStringList ports;
    quint64 mac = 0;  // 48 bits
    double x = 0, y = 0;
    DeviceConfig config;

    int port_index(const QString &port) const;  // -1 when there is none, case-insensitive
};

struct Link {
    int device_a = 0, port_a = 0, device_b = 0, port_b = 0;
    int speed = 1000;  // Mb/s: 10, 100, 1000 or 10000
    bool full_duplex = true;
};

struct NetworkModel {
    QVector<Device> devices;
    QVector<Link> links;

    int device_index(const QString &name) const;  // -1 when there is none, case-insensitive
};

// A MAC address derived from a device's name, the same on every run.
quint64 mac_from_name(const QString &name);
QString mac_text(quint64 mac);  // "00-1C-0E-00-00-0A"
bool parse_mac(const QString &text, quint64 *mac);
