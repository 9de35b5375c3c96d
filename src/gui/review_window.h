#pragma once

#include "gui/designed_window.h"
#include "quiz/review_text.h"

#include <QWidget>

namespace Ui { class review; }
class Program;

// After a quiz: every question asked, marked right or wrong, the selected
// one in full, the score by topic, and a retry of the missed questions.
// Closing it leads to the welcome window.
class ReviewWindow : public DesignedWindow<QWidget, Ui::review>
{
    Q_OBJECT

public:
    explicit ReviewWindow(Program &program);
    ~ReviewWindow() override;

    void Form_Load() override;
    void Form_Unload() override;

    void retry_missed_Click();
    ReviewFilter filter();
    // The log position (0-based) of each row of the list.
    const std::vector<int> &rows() const { return rows_; }

private:
    void fill_list();
    void fill_topics();
    void show_detail();
    void move_selection(int step);

    Program &program_;
    std::vector<int> rows_;
    bool retrying_ = false;
};

// Shows the review of the quiz just ended in place of the question window.
void open_review(Program &program);
