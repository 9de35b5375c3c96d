#pragma once

#include "form.h"

#include <QWidget>
#include <array>
#include <memory>

namespace Ui { class pick_a_quiz; }
class Program;
class QRadioButton;

// The quiz options window: which of the four quizzes, when to show the right
// answer, and whether to shuffle questions and answers. "Start the Quiz"
// records the choices and hands over to the question window.
class pick_a_quiz : public QWidget, public Form
{
    Q_OBJECT

public:
    explicit pick_a_quiz(Program &program);
    ~pick_a_quiz() override;

    void Form_Load() override;
    void Form_Unload() override;

    void Command1_Click();

    Ui::pick_a_quiz &ui() { return *ui_; }

private:
    Program &program_;
    std::unique_ptr<Ui::pick_a_quiz> ui_;
    std::array<QRadioButton *, 5> which_quiz{};  // 1..4
};
