#pragma once

#include "form.h"

#include <QImage>
#include <QWidget>
#include <memory>

namespace Ui { class Diagram; }
class Program;

// Reads a diagram picture named relative to the current directory. A name
// that is not an existing, readable file, or a file the toolkit cannot
// decode, gives a null image.
QImage read_diagram(const QString &name);

// A diagram of the question on screen, stretched to the window.
class Diagram : public QWidget, public Form
{
    Q_OBJECT

public:
    explicit Diagram(Program &program);
    ~Diagram() override;

    void show_picture(const QImage &image);
    void Command1_Click() { hide(); }

    Ui::Diagram &ui() { return *ui_; }

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::unique_ptr<Ui::Diagram> ui_;
};
