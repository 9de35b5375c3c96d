#pragma once

#include "quiz/exam_session.h"

#include <QObject>
#include <QTimer>

class Program;
class quest;

// Runs an exam in the question window: NEXT and Back keep the answer
// without marking it, Flag marks a question to come back to, the countdown
// warns at five minutes and at one, and "Review and submit" (or NEXT on the
// last question) opens the summary. At submit or time-up every answer is
// marked at once and the quiz ends as a practice quiz does, with the result
// box. Created by the question window for a quiz in exam mode.
class ExamController : public QObject
{
    Q_OBJECT

public:
    ExamController(quest &window, Program &program);

    const ExamSession &session() const { return session_; }

    void next();
    void back();
    void go_to(int position);
    void open_summary();
    // Quit Test, or closing the question window: submit now?
    void ask_to_submit();
    void submit();
    // The countdown, run by a timer; time-up submits.
    void tick();

private:
    void keep_answer();
    void show_position(int position);
    bool confirm_submit(QWidget *parent, const QString &title);

    quest &window_;
    Program &program_;
    ExamSession session_;
    QTimer timer_;
    bool submitted_ = false;
};

// "mm:ss" of the time left, seconds rounded up.
QString time_left_text(qint64 milliseconds);
