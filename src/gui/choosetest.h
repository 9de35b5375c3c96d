#pragma once

#include "bank/formats/bank_choice.h"
#include "gui/designed_window.h"

#include <QWidget>
#include <memory>

namespace Ui { class choosetest; }
struct ModalSeam;
struct WindowServices;

// "Select Testing Database", opened by the welcome window's "Question
// bank..." button: the built-in bank (Command1), the scenario bank when it
// is installed (Command2) or a bank file ("Open a file..."). A bank chosen
// here is handed on to replace the one the welcome window shows; one that
// cannot be read leaves it in place, with a message that says why. "Exit"
// ends the program.
class choosetest : public DesignedWindow<QWidget, Ui::choosetest>
{
    Q_OBJECT

public:
    explicit choosetest(WindowServices &services);
    ~choosetest() override;

    void Command1_Click();
    void Command2_Click();
    void openFile_Click();
    void Command3_Click() { emit exitRequested(); }

signals:
    // The bank chosen; null for the built-in bank.
    void bankChosen(std::shared_ptr<const QuestionBank> bank);
    void exitRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void open_bank(const QString &path);

    ModalSeam &modal_;
    OpenedBank scenario_;  // the scenario bank, read once
};
