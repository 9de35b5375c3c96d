#pragma once

#include "gui/designed_window.h"

#include <QWidget>
#include <array>
#include <vector>

namespace Ui { class pick_a_quiz; }
class Program;
class QLabel;
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
    bool Form_QueryUnload() override;

    void Command1_Click();
    void results_button_Click();
    // The last and best score beside each quiz and the quiz of the questions
    // due for review, when results are kept.
    void show_history();
    // Exam mode off by default; while on, no answers are shown and the
    // time limit (a minute per question unless chosen) applies.
    void exam_mode_toggled(bool on);
    void suggest_exam_minutes();

protected:
    // Escape closes the window, back to the welcome window.
    void keyPressEvent(QKeyEvent *event) override;

private:
    qint16 checked_quiz() const;

    Program &program_;
    std::array<QRadioButton *, 5> which_quiz{};  // 1..4
    std::array<QLabel *, 5> last_best{};          // 1..4
    std::vector<qint16> due_for_review_;          // bank questions, index 0 unused
    bool minutes_chosen_ = false;                 // the student set the exam's time limit
};
