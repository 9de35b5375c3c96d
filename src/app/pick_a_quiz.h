#pragma once

#include "designed_window.h"

#include <QWidget>
#include <array>

namespace Ui { class pick_a_quiz; }
class Program;
class QRadioButton;

// The quiz options window: which of the four quizzes, when to show the right
// answer, and whether to shuffle questions and answers. "Start the Quiz"
// records the choices and hands over to the question window.
class pick_a_quiz : public DesignedWindow<QWidget, Ui::pick_a_quiz>
{
    Q_OBJECT

public:
    explicit pick_a_quiz(Program &program);
    ~pick_a_quiz() override;

    void Form_Load() override;
    void Form_Unload() override;

    void Command1_Click();

private:
    Program &program_;
    std::array<QRadioButton *, 5> which_quiz{};  // 1..4
};
