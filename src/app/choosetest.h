#pragma once

#include "designed_window.h"

#include <QWidget>

namespace Ui { class choosetest; }
class Program;

// A chooser between question databases; only its "Exit" button acts.
class choosetest : public DesignedWindow<QWidget, Ui::choosetest>
{
    Q_OBJECT

public:
    explicit choosetest(Program &program);
    ~choosetest() override;

    void Command3_Click();

private:
    Program &program_;
};
