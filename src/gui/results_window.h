#pragma once

#include "gui/designed_window.h"

#include <QWidget>

namespace Ui { class results_window; }
class AttemptsModel;
class Program;

// The student's saved attempts on the current bank, newest first, the score
// over time and how each topic is going; and the box that keeps results or
// stops keeping them. Reached from the options window.
class ResultsWindow : public DesignedWindow<QWidget, Ui::results_window>
{
    Q_OBJECT

public:
    explicit ResultsWindow(Program &program);
    ~ResultsWindow() override;

    void Form_Load() override;
    // Reads the results file again and shows what it holds.
    void refresh();

private:
    void keep_results_Click(bool keep);
    void show_nothing_kept();

    Program &program_;
    AttemptsModel *attempts_;
};
