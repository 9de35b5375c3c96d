#pragma once

#include "form.h"

#include <QWidget>
#include <memory>

namespace Ui { class Exhibit; }
class Program;

// A text exhibit of the question on screen, beside the question window.
class Exhibit : public QWidget, public Form
{
    Q_OBJECT

public:
    explicit Exhibit(Program &program);
    ~Exhibit() override;

    void show_text(const QString &text);
    void Command1_Click() { hide(); }

    Ui::Exhibit &ui() { return *ui_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::Exhibit> ui_;
};
