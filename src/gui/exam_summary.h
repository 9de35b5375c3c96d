#pragma once

#include "gui/designed_window.h"

#include <QWidget>
#include <functional>

namespace Ui { class exam_summary; }
class ExamSession;
class Program;
class QPushButton;

// "Review and submit": every question of the exam by number, answered or
// not and flagged or not, in words; a question chosen goes back to it, and
// Submit hands the exam in. Modal over the question window while shown.
class ExamSummary : public DesignedWindow<QWidget, Ui::exam_summary>
{
    Q_OBJECT

public:
    explicit ExamSummary(Program &program);
    ~ExamSummary() override;

    void show_session(const ExamSession &session, std::function<void(int position)> jump,
                      std::function<void()> submit);
    QPushButton *position_button(int position) const;

private:
    std::function<void(int)> jump_;
    std::function<void()> submit_;
    std::vector<QPushButton *> buttons_;  // index 0 unused
};
