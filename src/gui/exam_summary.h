#pragma once

#include "gui/designed_window.h"

#include <QWidget>
#include <vector>

namespace Ui { class exam_summary; }
class ExamSession;
struct WindowServices;
class QPushButton;

// "Review and submit": every question of the exam by number, answered or
// not and flagged or not, in words; a question chosen goes back to it, and
// Submit hands the exam in (both asked of whoever shows it). Modal over the question window while shown.
class ExamSummary : public DesignedWindow<QWidget, Ui::exam_summary>
{
    Q_OBJECT

public:
    explicit ExamSummary(WindowServices &services);
    ~ExamSummary() override;

    void show_session(const ExamSession &session);

signals:
    // A question chosen (its position from 0), or Submit.
    void goToRequested(int position);
    void submitRequested();

private:
    std::vector<QPushButton *> buttons_;
};
