#pragma once

#include "gui/designed_window.h"

#include <QWidget>

namespace Ui { class results_window; }
class AttemptsModel;
class HistoryStore;
struct ModalSeam;
struct QuestionBank;
struct WindowServices;

// The student's saved attempts on the current bank, newest first, the score
// over time and how each topic is going; and the box that keeps results or
// stops keeping them. Reached from the options window.
class ResultsWindow : public DesignedWindow<QWidget, Ui::results_window>
{
    Q_OBJECT

public:
    explicit ResultsWindow(WindowServices &services);
    ~ResultsWindow() override;

    void Form_Load() override;
    // Reads the results file again and shows what it holds.
    void refresh();

signals:
    void keepResultsChanged(bool keep);

private:
    void show_nothing_kept();

    const QuestionBank &bank_;
    HistoryStore &history_;
    ModalSeam &modal_;
    AttemptsModel *attempts_;
};
