#pragma once

#include "designed_window.h"

#include <QImage>
#include <QWidget>

namespace Ui { class Diagram; }
class Program;

// Reads a diagram picture named relative to the current directory. A name
// that is not an existing, readable file, or a file the toolkit cannot
// decode, gives a null image.
QImage read_diagram(const QString &name);

// A diagram of the question on screen, stretched to the window.
class Diagram : public DesignedWindow<QWidget, Ui::Diagram>
{
    Q_OBJECT

public:
    explicit Diagram(Program &program);
    ~Diagram() override;

    void show_picture(const QImage &image);
    void Command1_Click() { hide(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
};
