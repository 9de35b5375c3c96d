#pragma once

// How a quiz runs. A QuizSession owns the quiz in progress: its questions and
// their order, the answers given, the score, and in an exam the flags and the
// clock. It knows nothing of windows. What a student can do comes in as calls
// (start, next, back, go_to, flag, submit, quit, retry the missed); what
// happened goes out as signals (a question to show, an answer marked, the
// exam's time, the quiz ended). Practice and exam are two modes of it:
// practice marks each answer on NEXT; an exam keeps the answers, lets the
// student move back and forth, and marks them all at submit or time-up.
//
// The question window lays out what the session shows and tells it what the
// student did; the navigator (src/app/navigator.h) follows its signals to
// open the answer window, the result box, the review and the welcome window.
// The one-based arrays of QuizState are the quiz's own data; the session's
// own interface counts from zero (bank question lists, exam positions).

#include "quiz/answer_log.h"
#include "quiz/clock.h"
#include "quiz/exam_session.h"
#include "quiz/quiz_state.h"

#include <QObject>
#include <QTimer>
#include <memory>
#include <vector>

struct QuestionBank;
class RandomGenerator;

// What the student chose on the options window.
struct QuizOptions {
    qint16 quiz_number = 1;  // 1..4
    bool show_when_right = false;
    bool show_when_wrong = true;
    bool random_questions = true;
    bool random_answers = true;
    bool exam_mode = false;
    int exam_minutes = 0;
    // A quiz of questions chosen for the student (those due for review)
    // rather than one of the bank's four.
    bool due_for_review = false;
};

class QuizSession : public QObject
{
    Q_OBJECT

public:
    QuizSession(const QuestionBank &bank, RandomGenerator &random, Clock clock, QObject *parent = nullptr);
    ~QuizSession() override;

    const QuizState &state() const { return state_; }
    const AnswerLog &answers() const { return answers_; }
    // The exam in progress, or null in practice or once it is submitted.
    const ExamSession *exam() const { return exam_.get(); }
    // A question is on screen: from the first question until the quiz ends.
    bool in_progress() const { return in_progress_; }
    // The quiz in force is of the questions due for review.
    bool due_for_review() const { return due_for_review_; }
    // The quiz ended by its clock.
    bool ended_by_time() const { return ended_by_time_; }
    // In an exam, the answer kept for the question on screen, to show again.
    const LoggedAnswer *kept_answer() const;
    // In an exam, whether a position (0-based) is flagged.
    bool flagged(int position) const;

    // The bank has been filled or replaced: questions_per_quiz becomes its
    // quizzes' length, as the welcome window shows it.
    void bank_changed();
    // Starts quiz options.quiz_number of the bank, or the given bank
    // questions (0-based list of bank indices) for a quiz of chosen ones.
    void start(const QuizOptions &options);
    void start_with(const QuizOptions &options, const std::vector<qint16> &bank_questions);
    // A quiz of the questions just missed, with the options in force.
    void retry_missed();

    // NEXT: practice marks the answer and shows the next question (or ends
    // the quiz); an exam keeps it and moves on, or asks for the summary
    // after the last question.
    void next(const StudentAnswer &answer);
    // Exam only: keep the answer on screen and move (0-based position).
    void back(const StudentAnswer &answer);
    void go_to(int position, const StudentAnswer &answer);
    void keep(const StudentAnswer &answer);
    void set_flagged(int position, bool flagged);
    // Exam "Review and submit": keep the answer on screen, then
    // summaryRequested().
    void request_summary(const StudentAnswer &answer);
    // Exam: marks every answer and ends the quiz. Also after time-up.
    void submit();
    // Practice "Quit Test": the quiz ends with the questions answered so far.
    void quit();
    // The quiz is dropped without a result (the program is closing).
    void abandon();

    // The parts of the flow that keep their own names: the next question
    // (or the end), the marking of an answer, the end of the quiz.
    void show_quest();
    void check_answer(const StudentAnswer &answer);
    void end_the_test();

    // Reads the exam's clock: time left, warnings, time-up. A timer calls it
    // four times a second while an exam runs.
    void tick();

signals:
    // A question is on screen: state().current_record and current_question.
    void questionShown();
    // Practice: an answer was marked; show_answer tells whether the options
    // ask for the answer window now.
    void answerMarked(bool right, bool show_answer);
    // Exam: NEXT on the last question, or "Review and submit".
    void summaryRequested();
    void timeLeftChanged(qint64 milliseconds);
    void examWarning(ExamSession::Warning warning);
    // The exam's time ran out: whoever shows it closes what is open, then
    // calls submit().
    void timeUp();
    // The quiz is over; state() and answers() hold its result.
    void quizEnded();

private:
    LoggedAnswer presented(qint16 bank_index);
    void start_exam();
    void show_position(int position);

    const QuestionBank &bank_;
    RandomGenerator &random_;
    Clock clock_;
    QuizState state_;
    AnswerLog answers_;
    std::unique_ptr<ExamSession> exam_;
    QTimer exam_timer_;
    qint64 shown_at_ = 0;  // clock reading when the question on screen was shown
    bool in_progress_ = false;
    bool ended_by_time_ = false;
    bool due_for_review_ = false;
};

// "mm:ss" of the time left, seconds rounded up.
QString time_left_text(qint64 milliseconds);
