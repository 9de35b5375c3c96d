#pragma once

#include "bank/question_record.h"
#include "gui/designed_window.h"
#include "quiz/marking.h"

#include <QFont>
#include <QWidget>
#include <array>
#include <optional>

namespace Ui { class quest; }
class QPlainTextEdit;
class QPushButton;
class LongAnswerList;
class MatchingPanel;
class QuizSession;
struct QuestionBank;
struct ModalSeam;
struct StudentAnswer;
struct WindowServices;

// The question window: one question of the running quiz at a time, its
// lettered choices (or a box to type the answer in), the running score,
// percentage and gauge, and the clue, diagram and exhibit buttons. It lays
// out what the quiz session shows and tells the session what the student
// did; in an exam it shows the clock, Back, Flag and "Review and submit".
class quest : public DesignedWindow<QWidget, Ui::quest>
{
    Q_OBJECT

public:
    explicit quest(WindowServices &services);
    ~quest() override;

    void Form_Load() override;
    void Form_Unload() override;
    bool Form_QueryUnload() override;

    // Lays the question window out for the question the session shows.
    void lay_out_question();
    void clear_the_boxes();
    // What the student has pressed or typed for the question on screen.
    StudentAnswer answer_on_screen() const;
    // A lab question is answered in the lab window: what the student has
    // done there so far, which NEXT hands in.
    void set_lab_outcome(const LabOutcome &outcome) { lab_outcome_ = outcome; }

    void NextButton_Click();
    void quitquiz_Click();
    void cluebutton_Click();
    void diagrambutton_Click(int m);
    void exhibitbutton_Click(int m);

    // Controls that repeat, indexed from 1 like their letters and numbers.
    // The answer rows of the question on screen: the window's own six, or
    // those of the long list for a question with more answers.
    std::array<QPlainTextEdit *, max_answers + 1> abox{};
    std::array<QPushButton *, max_answers + 1> QChoice{};
    std::array<QPushButton *, 4> diagrambutton{};
    std::array<QPushButton *, 4> exhibitbutton{};

signals:
    // Quit Test (or closing the window) during an exam: submit it?
    void submitRequested();
    void diagramRequested(const QString &name, const QString &description);
    void exhibitRequested(const QString &name);
    // The lab window, closed by the student, is wanted again.
    void labRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void show_question();
    // The window's six rows, or the long list when the question has more answers.
    void use_rows(bool long_list);
    void show_kept_answer();
    void set_exam_layout(bool exam);
    void update_score();
    void reset_score();
    void lay_gauge();
    void show_time_left(qint64 milliseconds);
    void show_warning(int warning);
    void show_time_up();
    bool typed_question_on_screen() const;
    // What a screen reader says as a question appears: the verdict on the
    // last answer (when the answer window was not shown), the question's
    // number and text, and how many answers to choose.
    QString question_news(const question_record &record, bool typed) const;
    // Shown in the exam's warning label and spoken by a screen reader at
    // once: an exam warning, time-up.
    void show_notice(const QString &notice);
    void show_flag(bool flagged);

    std::array<QPlainTextEdit *, max_answers + 1> own_boxes_{};  // the window's rows, 1..6
    std::array<QPushButton *, max_answers + 1> own_letters_{};
    QPushButton *lab_button_ = nullptr;  // the directions of a lab question, which bring its window back
    LongAnswerList *long_list_ = nullptr;
    MatchingPanel *matching_panel_ = nullptr;
    QuizSession &session_;
    const QuestionBank &bank_;
    ModalSeam &modal_;
    int marked_ = 0;           // answers marked in this quiz, for the gauge
    int flag_position_ = -1;   // the exam question on screen when Flag was pressed
    bool exam_layout_ = false;
    bool time_up_told_ = false;  // "Time is up" shown in this exam
    std::optional<QFont> notice_font_;  // the exam warning's design font
    QString verdict_;          // "Correct."/"Incorrect.", said with the next question
    LabOutcome lab_outcome_;   // of the lab question on screen
};
