#pragma once

#include "gui/designed_window.h"

#include <QWidget>

namespace Ui { class Welcome; }
class Program;

// The first window: the test's title and author, "I Agree" to go on to the
// quiz options, "Exit" to leave. Loading it fills the question bank.
class Welcome : public DesignedWindow<QWidget, Ui::Welcome>
{
    Q_OBJECT

public:
    explicit Welcome(Program &program);
    ~Welcome() override;

    void Form_Load() override;
    void Form_Unload() override;

    void Start_Quiz_Click();
    void Command1_Click();
    void bankButton_Click();

private:
    Program &program_;
};
