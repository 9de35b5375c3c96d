#pragma once

#include "form.h"

#include <QWidget>
#include <memory>

namespace Ui { class choosetest; }
class Program;

// A chooser between question databases; only its "Exit" button acts.
class choosetest : public QWidget, public Form
{
    Q_OBJECT

public:
    explicit choosetest(Program &program);
    ~choosetest() override;

    void Command3_Click();

    Ui::choosetest &ui() { return *ui_; }

private:
    Program &program_;
    std::unique_ptr<Ui::choosetest> ui_;
};
