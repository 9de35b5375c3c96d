#pragma once

#include "form.h"

#include <QWidget>
#include <memory>

namespace Ui { class Welcome; }
class Program;

// The first window: the test's title and author, "I Agree" to go on to the
// quiz options, "Exit" to leave. Loading it fills the question bank.
class Welcome : public QWidget, public Form
{
    Q_OBJECT

public:
    explicit Welcome(Program &program);
    ~Welcome() override;

    void Form_Load() override;
    void Form_Unload() override;

    void Start_Quiz_Click();
    void Command1_Click();

    Ui::Welcome &ui() { return *ui_; }

private:
    Program &program_;
    std::unique_ptr<Ui::Welcome> ui_;
};
