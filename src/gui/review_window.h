#pragma once

#include "gui/designed_window.h"
#include "quiz/review_text.h"

#include <QWidget>

namespace Ui { class review; }
class AnswerLog;
struct QuestionBank;
struct WindowServices;

// After a quiz: every question asked, marked right or wrong, the selected
// one in full, the score by topic, a retry of the missed questions and the
// box that keeps results.
class ReviewWindow : public DesignedWindow<QWidget, Ui::review>
{
    Q_OBJECT

public:
    explicit ReviewWindow(WindowServices &services);
    ~ReviewWindow() override;

    void Form_Load() override;
    // Ticks the box or not, as the results file is kept or not.
    void show_keep_results(bool keep);

    void retry_missed_Click();
    ReviewFilter filter();
    // The log position (0-based) of each row of the list.
    const std::vector<int> &rows() const { return rows_; }

signals:
    void retryRequested();
    void keepResultsChanged(bool keep);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fill_list();
    void fill_topics();
    void show_detail();
    void move_selection(int step);

    const AnswerLog &answers_;
    const QuestionBank &bank_;
    bool history_on_;
    std::vector<int> rows_;
};
