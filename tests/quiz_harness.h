#pragma once

// A program whose message boxes and modal windows are captured instead of
// blocking, and helpers to drive the windows as a student would.
#include "app/program.h"
#include "ui_pick_a_quiz.h"
#include "ui_quest.h"
#include "ui_theanswer.h"
#include "ui_welcome.h"
#include "gui/pick_a_quiz.h"
#include "gui/quest.h"
#include "gui/theanswer.h"
#include "gui/welcome.h"
#include "gui/centering.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// Centred on the screen. Before a window is first shown its frame is not
// known yet, so the frame's width is allowed for.
inline bool is_centred(const QWidget &window)
{
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPointF expected = centered_position(screen.size(), window.frameGeometry().size());
    return (window.frameGeometry().topLeft() - expected.toPoint()).manhattanLength() <= 4;
}

struct Shown {
    QString title;
    QString text;
};

// A fresh, empty data folder (XDG_DATA_HOME) for the program of one harness:
// results it keeps never reach the user's folder, and each test starts with
// none kept.
struct TemporaryDataHome {
    TemporaryDataHome() { qputenv("XDG_DATA_HOME", folder.path().toLocal8Bit()); }
    QTemporaryDir folder;
};

class QuizHarness
{
public:
    QuizHarness()
        : program(ModalSeam{[this](QWidget *, const QString &title, const QString &text) {
                                messages.append({title, text});
                            },
                            [this](QDialog &dialog) {
                                answers.append(dialog.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->toPlainText());
                                QTest::mouseClick(dialog.findChild<QPushButton *>(QStringLiteral("Closeb")), Qt::LeftButton);
                            },
                            [this](QWidget *, const QString &title, const QString &text, int missed) {
                                messages.append({title, text});
                                result_missed.append(missed);
                                return result_choice;
                            },
                            [this](QWidget *, const QString &title, const QString &text) {
                                messages.append({title, text});
                                return ask_answer;
                            }})
    {
    }
    ~QuizHarness() { settle(); }

    // Lets deferred deletions and queued checks run, as the event loop would.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    Welcome &start_program()
    {
        auto &welcome = program.windows.get<Welcome>();
        center_window(welcome);
        return welcome;
    }

    pick_a_quiz &agree()
    {
        QTest::mouseClick(program.windows.get<Welcome>().ui().Start_Quiz, Qt::LeftButton);
        return program.windows.get<pick_a_quiz>();
    }

    // From the welcome window to the first question of a quiz.
    quest &start_quiz(int quiz, bool shuffle_questions, bool shuffle_answers, bool when_wrong, bool when_right)
    {
        auto &options = agree();
        auto &ui = options.ui();
        QRadioButton *radios[] = {ui.which_quiz_1, ui.which_quiz_2, ui.which_quiz_3, ui.which_quiz_4};
        radios[quiz - 1]->setChecked(true);
        ui.random_questions->setChecked(shuffle_questions);
        ui.random_answers->setChecked(shuffle_answers);
        ui.answer_when_wrong->setChecked(when_wrong);
        ui.answer_when_right->setChecked(when_right);
        QTest::mouseClick(ui.Command1, Qt::LeftButton);
        settle();
        return program.windows.get<quest>();
    }

    // Presses exactly the right choices (or types the first accepted
    // answer), or a wrong set, then NEXT.
    void answer(quest &window, bool right)
    {
        const question_record &record = program.state.current_record;
        if (is_typed_question(record)) {
            QTest::keyClicks(window.abox[1], right ? record.answers[1] : QStringLiteral("no such answer"));
        } else {
            for (size_t p = 1; p <= 6; ++p) {
                const bool press = (record.correct[p] == 1) == right;
                if (press && !window.QChoice[p]->isHidden())
                    QTest::mouseClick(window.QChoice[p], Qt::LeftButton);
            }
        }
        QTest::mouseClick(window.ui().NextButton, Qt::LeftButton);
    }

    QList<Shown> messages;
    QStringList answers;
    ResultChoice result_choice = ResultChoice::ok;  // the result box's answer
    QList<int> result_missed;                       // the missed count each result box offered
    bool ask_answer = true;                          // "Yes" to every question
    TemporaryDataHome data_home;                     // before program, which reads it
    Program program;
};
