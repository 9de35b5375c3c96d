#pragma once

#include "gui/designed_window.h"

#include <QWidget>

namespace Ui { class Welcome; }
struct QuestionBank;
struct WindowServices;

// The first window: the test's title and author, "I Agree" to go on to the
// quiz options, "Exit" to leave, and "Question bank..." to choose another
// bank. The bank is filled before the window loads.
class Welcome : public DesignedWindow<QWidget, Ui::Welcome>
{
    Q_OBJECT

public:
    explicit Welcome(WindowServices &services);
    ~Welcome() override;

    void Form_Load() override;
    void Form_Unload() override;
    // Shows the title and author of the bank in force.
    void show_test();

    void Start_Quiz_Click() { emit agreed(); }
    void Command1_Click() { emit exitRequested(); }
    void bankButton_Click() { emit bankRequested(); }

signals:
    void agreed();
    void exitRequested();
    void bankRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // White in a light palette, as designed; the palette's own background in
    // a dark one; every text readable on it either way.
    void follow_palette();

    const QuestionBank &bank_;
};
