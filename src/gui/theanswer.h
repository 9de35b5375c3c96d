#pragma once

#include "gui/designed_window.h"

#include <QDialog>

namespace Ui { class theanswer; }
struct WindowServices;

// The modal window with the right answer and its explanation. Hiding it
// (Close, Escape or the title bar) ends the modal display.
class theanswer : public DesignedWindow<QDialog, Ui::theanswer>
{
    Q_OBJECT

public:
    explicit theanswer(WindowServices &services);
    ~theanswer() override;

    void Closeb_Click() { hide(); }
    // The verdict, the right answers and the explanation.
    void show_feedback(const QString &text);
};
