// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <bitset>

// A set of VLAN ids 1-4094, as a trunk's allowed list, written "10,20,30-40"
// or "all".
class VlanSet {
public:
    static constexpr int first = 1;
    static constexpr int last = 4094;

    static VlanSet all();
    // Sets ok to false, and returns an empty set, when the text is not a list.
    static VlanSet parse(const QString &text, bool *ok);
    static bool valid_id(int vlan) { return vlan >= first && vlan <= last; }

    bool contains(int vlan) const { return valid_id(vlan) && bits_.test(size_t(vlan)); }
    void insert(int vlan) { if (valid_id(vlan)) bits_.set(size_t(vlan)); }
    bool is_all() const { return bits_.count() == size_t(last); }
    QString text() const;
    bool operator==(const VlanSet &other) const { return bits_ == other.bits_; }

private:
    std::bitset<last + 1> bits_;
};
