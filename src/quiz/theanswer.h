#pragma once

#include "form.h"

#include <QDialog>
#include <memory>

namespace Ui { class theanswer; }
class Program;

// The modal window with the right answer and its explanation. Hiding it
// (Close, Escape or the title bar) ends the modal display.
class theanswer : public QDialog, public Form
{
    Q_OBJECT

public:
    explicit theanswer(Program &program);
    ~theanswer() override;

    void Closeb_Click() { hide(); }

    Ui::theanswer &ui() { return *ui_; }

private:
    std::unique_ptr<Ui::theanswer> ui_;
};
