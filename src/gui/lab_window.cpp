// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/lab_window.h"

#include "gui/device_console.h"
#include "gui/topology_view.h"
#include "lab/lab.h"

#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

LabWindow::LabWindow(QWidget *parent) : QWidget(parent)
{
    title_ = new QLabel(this);
    QFont heading = title_->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.25);
    title_->setFont(heading);
    task_ = new QLabel(this);
    task_->setWordWrap(true);
    // Focusable by keyboard so a screen reader can be taken back to the task.
    task_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    task_->setFocusPolicy(Qt::StrongFocus);
    task_->setAccessibleName(tr("Task"));

    topology_ = new TopologyView(this);
    vlans_ = new QComboBox(this);
    vlans_->setAccessibleName(tr("VLAN to highlight"));
    auto *vlan_label = new QLabel(tr("&Highlight VLAN:"), this);
    vlan_label->setBuddy(vlans_);
    connect(vlans_, &QComboBox::currentIndexChanged, this,
            [this] { topology_->set_vlan(vlans_->currentData().toInt()); });
    auto *vlan_row = new QHBoxLayout;
    vlan_row->addWidget(vlan_label);
    vlan_row->addWidget(vlans_);
    vlan_row->addStretch();
    auto *network_box = new QGroupBox(tr("Network"), this);
    auto *network_layout = new QVBoxLayout(network_box);
    network_layout->addLayout(vlan_row);
    network_layout->addWidget(topology_, 1);

    check_ = new QPushButton(tr("&Check my work"), this);
    connect(check_, &QPushButton::clicked, this, &LabWindow::check_work);
    tabs_ = new QTabWidget(this);
    tabs_->setAccessibleName(tr("Device consoles"));
    // Tab goes down the window as it reads: task, VLAN, diagram, the device
    // tabs, the shown console, then Check my work.
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
        auto *page = static_cast<DeviceConsole *>(tabs_->widget(index));
        if (!page)
            return;
        setTabOrder(tabs_, page->input());
        setTabOrder(page->input(), page->output());
        setTabOrder(page->output(), check_);
    });
    setTabOrder(task_, vlans_);
    setTabOrder(vlans_, topology_);
    setTabOrder(topology_, tabs_);
    auto *split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(network_box);
    split->addWidget(tabs_);
    split->setStretchFactor(0, 1);
    split->setStretchFactor(1, 1);


    report_ = new QListWidget(this);
    report_->setAccessibleName(tr("Goals"));
    report_->setVisible(false);
    report_->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    auto *check_row = new QHBoxLayout;
    check_row->addWidget(check_);
    check_row->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(task_);
    layout->addWidget(split, 1);
    layout->addLayout(check_row);
    layout->addWidget(report_);
}

LabWindow::~LabWindow() = default;

void LabWindow::show_lab(const LabDefinition &lab, bool practice)
{
    lab_ = lab;
    typed_.clear();
    tabs_->clear();  // the old consoles' pages go before the consoles do
    consoles_.clear();
    QStringList problems;
    network_ = std::make_unique<Network>(build_network(lab, false, &problems));
    for (const QString &problem : problems)
        qWarning("lab: %s", qPrintable(problem));

    setWindowTitle(lab.title.isEmpty() ? tr("Lab") : tr("Lab: %1").arg(lab.title));
    title_->setText(lab.title);
    title_->setVisible(!lab.title.isEmpty());
    task_->setText(lab.task);
    task_->setVisible(!lab.task.isEmpty());  // the title above says it otherwise
    topology_->set_network(network_.get());
    fill_vlans();

    for (int i = 0; i < network_->model().devices.size(); ++i) {
        const QString name = network_->device(i).name;
        consoles_.push_back(std::make_unique<LabConsole>(*network_, i));
        auto *page = new DeviceConsole(*consoles_.back(), name, tabs_);
        page->setObjectName(name);
        connect(page, &DeviceConsole::command_run, this,
                [this, name](const QString &line) { after_command(name, line); });
        tabs_->addTab(page, name);
    }
    // The student starts by typing: the first console takes the focus.
    if (tabs_->count())
        static_cast<DeviceConsole *>(tabs_->widget(0))->input()->setFocus();
    check_->setVisible(practice);
    report_->clear();
    report_->setVisible(false);
}

DeviceConsole *LabWindow::console_of(const QString &device) const
{
    for (int i = 0; i < tabs_->count(); ++i)
        if (tabs_->widget(i)->objectName().compare(device, Qt::CaseInsensitive) == 0)
            return static_cast<DeviceConsole *>(tabs_->widget(i));
    return nullptr;
}

void LabWindow::after_command(const QString &device, const QString &line)
{
    typed_ << device + QStringLiteral(": ") + line;
    topology_->refresh();
    fill_vlans();  // a command may have made a VLAN
    emit command_typed(device, line);
}

void LabWindow::fill_vlans()
{
    QSet<int> seen;
    QList<int> ids;
    for (const Device &device : network_->model().devices)
        for (auto it = device.config.vlans.cbegin(); it != device.config.vlans.cend(); ++it)
            if (!seen.contains(it.key()))
                seen.insert(it.key()), ids << it.key();
    std::sort(ids.begin(), ids.end());
    const int chosen = vlans_->currentData().toInt();
    if (vlans_->count() == ids.size() + 1) {
        bool same = true;
        for (int i = 0; i < ids.size(); ++i)
            same = same && vlans_->itemData(i + 1).toInt() == ids[i];
        if (same)
            return;
    }
    const QSignalBlocker quiet(vlans_);
    vlans_->clear();
    vlans_->addItem(tr("None"), 0);
    for (int id : ids)
        vlans_->addItem(tr("VLAN %1").arg(id), id);
    vlans_->setCurrentIndex(std::max(0, vlans_->findData(chosen)));
}

bool LabWindow::all_goals_met() const
{
    return network_ && all_met(evaluate_goals(lab_.goals, *network_));
}

QStringList LabWindow::goal_report() const
{
    QStringList lines;
    if (!network_)
        return lines;
    for (const GoalResult &result : evaluate_goals(lab_.goals, *network_))
        lines << (result.met ? tr("Met: %1") : tr("Missed: %1")).arg(result.text);
    return lines;
}

QStringList LabWindow::commands_typed() const
{
    return typed_;
}

LabOutcome LabWindow::outcome() const
{
    LabOutcome outcome;
    if (network_) {
        for (const GoalResult &result : evaluate_goals(lab_.goals, *network_))
            (result.met ? outcome.met : outcome.missed) << result.text;
    }
    outcome.commands = typed_;
    return outcome;
}

void LabWindow::replay(const QStringList &typed)
{
    const QString separator = QStringLiteral(": ");
    for (const QString &line : typed) {
        if (DeviceConsole *console = console_of(line.section(separator, 0, 0)))
            console->run(line.section(separator, 1));
    }
}

void LabWindow::check_work()
{
    report_->clear();
    report_->addItems(goal_report());
    report_->setVisible(true);
    report_->setFocus();
    report_->setCurrentRow(0);
}

void LabWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape is not a way out of a lab: a stray press must not lose the work.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}
