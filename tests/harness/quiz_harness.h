#pragma once

// A program whose message boxes and modal windows are captured instead of
// blocking, and helpers to drive the windows as a student would.
#include "app/navigator.h"
#include "app/program.h"
#include "harness/controls.h"
#include "gui/pick_a_quiz.h"
#include "gui/quest.h"
#include "gui/theanswer.h"
#include "gui/welcome.h"
#include "gui/centering.h"
#include "gui/device_console.h"
#include "gui/lab_window.h"

#include <QComboBox>
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
                                if (while_asking)
                                    while_asking();
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
        navigator.open_first_window(QString());
        return program.windows.get<Welcome>();
    }

    pick_a_quiz &agree()
    {
        QTest::mouseClick(ctl<QPushButton>(program.windows.get<Welcome>(), "Start_Quiz"), Qt::LeftButton);
        return program.windows.get<pick_a_quiz>();
    }

    // From the welcome window to the first question of a quiz.
    quest &start_quiz(int quiz, bool shuffle_questions, bool shuffle_answers, bool when_wrong, bool when_right)
    {
        auto &options = agree();
        QWidget &ui = options;
        QRadioButton *radios[] = {ctl<QRadioButton>(ui, "which_quiz_1"), ctl<QRadioButton>(ui, "which_quiz_2"), ctl<QRadioButton>(ui, "which_quiz_3"), ctl<QRadioButton>(ui, "which_quiz_4")};
        radios[quiz - 1]->setChecked(true);
        ctl<QCheckBox>(ui, "random_questions")->setChecked(shuffle_questions);
        ctl<QCheckBox>(ui, "random_answers")->setChecked(shuffle_answers);
        ctl<QCheckBox>(ui, "answer_when_wrong")->setChecked(when_wrong);
        ctl<QCheckBox>(ui, "answer_when_right")->setChecked(when_right);
        QTest::mouseClick(ctl<QPushButton>(ui, "Command1"), Qt::LeftButton);
        settle();
        return program.windows.get<quest>();
    }

    // Presses exactly the right choices (types the first accepted answer,
    // gives each stem its meaning, or types a lab's reference solution into
    // its consoles), or a wrong set (on a lab or a matching question
    // nothing), then NEXT.
    void answer(quest &window, bool right)
    {
        const question_record &record = program.session.state().current_record;
        if (is_lab_question(record)) {
            if (right)
                type_lab_solution(window);
        } else if (is_matching_question(record)) {
            const QList<QComboBox *> lists = ctl<QWidget>(window, "matching")->findChildren<QComboBox *>();
            for (int stem = 0; stem < lists.size(); ++stem)
                lists[stem]->setCurrentIndex(right ? lists[stem]->findText(record.matches[size_t(stem + 1)]) : 0);
        } else if (is_typed_question(record)) {
            QTest::keyClicks(ctl<QPlainTextEdit>(window, "abox_", 1), right ? record.answers[1] : QStringLiteral("no such answer"));
        } else {
            for (size_t p = 1; p <= 6; ++p) {
                const bool press = (record.correct[p] == 1) == right;
                if (press && !ctl<QPushButton>(window, "QChoice_", p)->isHidden())
                    QTest::mouseClick(ctl<QPushButton>(window, "QChoice_", p), Qt::LeftButton);
            }
        }
        QTest::mouseClick(ctl<QPushButton>(window, "NextButton"), Qt::LeftButton);
    }

    // Types the lab's reference solution into the consoles of the lab window
    // beside the question window.
    void type_lab_solution(quest &window)
    {
        LabWindow *lab = window.findChild<LabWindow *>();
        QVERIFY(lab);
        const LabDefinition &definition = *program.session.state().current_record.lab;
        for (auto it = definition.solution.cbegin(); it != definition.solution.cend(); ++it) {
            for (const QString &line : it.value()) {
                QTest::keyClicks(lab->console_of(it.key())->input(), line);
                QTest::keyClick(lab->console_of(it.key())->input(), Qt::Key_Return);
            }
        }
    }

    // Lays the question window out for one question: the first of a quiz
    // of two, in bank question 1's place, with no shuffle and no answer
    // window.
    quest &show_only(const question_record &record)
    {
        program.bank.at(1) = record;
        QuizOptions options;
        options.random_questions = options.random_answers = options.show_when_wrong = false;
        program.session.start_with(options, {1, 2});
        return program.windows.get<quest>();
    }

    QList<Shown> messages;
    QStringList answers;
    ResultChoice result_choice = ResultChoice::ok;  // the result box's answer
    QList<int> result_missed;                       // the missed count each result box offered
    bool ask_answer = true;                          // "Yes" to every question
    std::function<void()> while_asking;              // what happens while a question is open
    TemporaryDataHome data_home;                     // before program, which reads it
    Program program;
    Navigator navigator{program};
};
