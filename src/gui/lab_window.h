// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lab/lab_definition.h"
#include "quiz/marking.h"

#include <QStringList>
#include <QWidget>

#include <memory>
#include <vector>

class DeviceConsole;
class LabConsole;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTabWidget;
class TopologyView;

// A lab question: the task, the network drawn and kept live, and a console
// per device over one Network. It shows and forwards only; the quiz flow
// marks it through all_goals_met(), goal_report() and commands_typed().
class LabWindow : public QWidget {
    Q_OBJECT
public:
    explicit LabWindow(QWidget *parent = nullptr);
    ~LabWindow() override;

    // Builds the network from the lab's start; in practice "Check my work"
    // is offered. The task shown is lab.task (the flow
    // fills it from the question's text), under lab.title.
    void show_lab(const LabDefinition &lab, bool practice);

    bool all_goals_met() const;
    QStringList goal_report() const;     // "Met: PC1 reaches PC2" / "Missed: ..."
    QStringList commands_typed() const;  // "SW1: vlan 10", in the order typed
    // The goals met and missed now, and the commands typed, for marking.
    LabOutcome outcome() const;
    // Types commands_typed() of an earlier visit again, so that the student
    // finds the lab as it was left.
    void replay(const QStringList &typed);

    TopologyView *topology() const { return topology_; }
    DeviceConsole *console_of(const QString &device) const;

signals:
    void command_typed(const QString &device, const QString &line);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void after_command(const QString &device, const QString &line);
    void fill_vlans();
    void check_work();

    LabDefinition lab_;
    std::unique_ptr<Network> network_;  // consoles point at it: never moved
    std::vector<std::unique_ptr<LabConsole>> consoles_;
    QStringList typed_;

    QLabel *title_;
    QLabel *task_;
    TopologyView *topology_;
    QComboBox *vlans_;
    QTabWidget *tabs_;
    QPushButton *check_;
    QListWidget *report_;
};
