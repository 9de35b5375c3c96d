#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

class LabWindow;
class Program;
class QWidget;
struct QuestionBank;
struct QuizOptions;

// The one place that opens and closes windows. It wires every window the
// registry makes to what it asks for (agree, start a quiz, a diagram, the
// results...), follows the quiz session's signals (a question shown, an
// answer marked, the exam's time up, the quiz ended) and decides which
// window comes next. The diagram and exhibit windows belong to the question
// they were opened from, and so does the lab window, opened beside the
// question window for a lab question: they close whenever the question
// changes or the quiz ends.
class Navigator : public QObject
{
    Q_OBJECT

public:
    explicit Navigator(Program &program);

    // Start-up: the bank of the file named (or the built-in bank) and the
    // welcome window; a file that cannot be used is said why.
    void open_first_window(const QString &bank_file);

private:
    void window_created(QWidget &window);
    void window_unloaded(QWidget &window);

    // Puts the chosen (or built-in) bank in place and shows the welcome window.
    void show_welcome();
    void agree();
    void choose_bank();
    void use_bank(std::shared_ptr<const QuestionBank> bank);
    void back_to_welcome_from_options();
    void start_quiz(const QuizOptions &options);
    void show_results();
    void keep_results(QWidget *parent, bool keep);
    void refresh_options_history();

    void close_question_windows();
    void open_lab();
    void back_to_question();
    void open_diagram(const QString &name, const QString &description);
    void open_exhibit(const QString &name);
    void show_answer();
    void open_exam_summary();
    void confirm_submit(QWidget *parent, const QString &title);
    void submit_when_no_modal_is_open();
    void submit_with_answer_on_screen();
    void quiz_ended();
    void open_review();
    void retry_missed();

    Program &program_;
    std::vector<qint16> due_for_review_;  // the questions of the due-for-review quiz
    bool retrying_ = false;               // the review window closes for a retry
    QPointer<LabWindow> lab_window_;      // of the lab question on screen, a window of the question window's
};
