#pragma once

#include "gui/designed_window.h"

#include <QPointer>
#include <QWidget>
#include <array>
#include <vector>

namespace Ui { class quest; }
class Program;
class QPlainTextEdit;
class QPushButton;
struct LoggedAnswer;
class ExamController;

// The question window: one question of the running quiz at a time, its
// lettered choices (or a box to type the answer in), the running score,
// percentage and gauge, and the clue, diagram and exhibit buttons.
class quest : public DesignedWindow<QWidget, Ui::quest>
{
    Q_OBJECT

public:
    explicit quest(Program &program);
    ~quest() override;

    void Form_Load() override;
    void Form_Unload() override;
    bool Form_QueryUnload() override;

    void show_quest();
    // The first question of the quiz in force, or the exam in exam mode.
    void show_first_question();
    // Lays the question window out for state.current_record.
    void lay_out_question();
    ExamController *exam() const;  // the exam in progress, or null
    void clear_the_boxes();
    void check_answer();
    // What the student has pressed or typed for the question on screen.
    LoggedAnswer answer_on_screen() const;
    void show_answer();
    void end_the_test();
    // Starts a quiz of the given bank questions (index 0 unused) with the
    // options in force: "Retry missed".
    void start_quiz_of(std::vector<qint16> bank_questions);

    void NextButton_Click();
    void quitquiz_Click();
    void cluebutton_Click();
    void diagrambutton_Click(int m);
    void exhibitbutton_Click(int m);

    // Controls that repeat, indexed from 1 like their letters and numbers.
    std::array<QPlainTextEdit *, 7> abox{};
    std::array<QPushButton *, 7> QChoice{};
    std::array<QPushButton *, 4> diagrambutton{};
    std::array<QPushButton *, 4> exhibitbutton{};

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::array<bool, 7> visible_choices() const;
    void update_score();
    void lay_gauge();

    Program &program_;
    int marked_ = 0;  // answers marked in this quiz, for the gauge
    qint64 shown_at_ = 0;  // clock reading when the question on screen was shown
    QPointer<ExamController> exam_;  // the exam in progress, in exam mode
};
