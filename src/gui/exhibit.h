#pragma once

#include "gui/designed_window.h"

#include <QWidget>

namespace Ui { class Exhibit; }
class Program;

// A text exhibit of the question on screen, beside the question window.
class Exhibit : public DesignedWindow<QWidget, Ui::Exhibit>
{
    Q_OBJECT

public:
    explicit Exhibit(Program &program);
    ~Exhibit() override;

    void show_text(const QString &text);
    void Command1_Click() { hide(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
