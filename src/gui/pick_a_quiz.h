#pragma once

#include "flow/quiz_session.h"
#include "gui/designed_window.h"

#include <QWidget>
#include <array>
#include <vector>

namespace Ui { class pick_a_quiz; }
class QLabel;
class QRadioButton;
struct AttemptSummary;
struct QuestionBank;
struct WindowServices;

// The quiz options window: which of the four quizzes, when to show the right
// answer, and whether to shuffle questions and answers, and exam mode.
// "Start the Quiz" hands the choices on; "Results..." asks for the results.
class pick_a_quiz : public DesignedWindow<QWidget, Ui::pick_a_quiz>
{
    Q_OBJECT

public:
    explicit pick_a_quiz(WindowServices &services);
    ~pick_a_quiz() override;

    void Form_Load() override;
    bool Form_QueryUnload() override;

    void Command1_Click();
    void results_button_Click() { emit resultsRequested(); }
    // The last and best score beside each quiz (from the saved attempts) and
    // the quiz of the questions due for review.
    void show_history(const std::vector<AttemptSummary> &attempts, int due_count);
    // Exam mode off by default; while on, no answers are shown and the
    // time limit (a minute per question unless chosen) applies.
    void exam_mode_toggled(bool on);
    void suggest_exam_minutes();

signals:
    void startRequested(const QuizOptions &options);
    void resultsRequested();
    // Closing the window (or Escape) goes back to the welcome window.
    void backRequested();

protected:
    // Escape closes the window, back to the welcome window.
    void keyPressEvent(QKeyEvent *event) override;

private:
    qint16 checked_quiz() const;

    const QuestionBank &bank_;
    std::array<QRadioButton *, 5> which_quiz{};  // 1..4
    std::array<QLabel *, 5> last_best{};          // 1..4
    int due_count_ = 0;                           // questions due for review
    bool minutes_chosen_ = false;                 // the student set the exam's time limit
};
