#pragma once

#include "gui/designed_window.h"
#include "bank/question_bank.h"

#include <QImage>
#include <QWidget>

namespace Ui { class Diagram; }
struct WindowServices;

// Reads a diagram picture: one embedded in the bank file under that name,
// else the file of that name in the bank's folder (exhibit_file.h). A name
// that is neither, or a picture the toolkit cannot decode, gives a null
// image.
QImage read_diagram(const QString &name, const BankFiles &files = BankFiles());

// A diagram of the question on screen, centred in the window at its natural
// size, or scaled down to fit with its shape kept.
class Diagram : public DesignedWindow<QWidget, Ui::Diagram>
{
    Q_OBJECT

public:
    explicit Diagram(WindowServices &services);
    ~Diagram() override;

    // The description says in words what the picture shows: screen readers
    // read it as the picture's description, and it is the picture's tooltip.
    void show_picture(const QImage &image, const QString &description = QString());
    void Command1_Click()
    {
        hide();
        emit closed();
    }

signals:
    // Closed with its button or Escape: it stays loaded, hidden.
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void fit_picture();

    QImage picture_;  // as read, for fitting again when the window is resized
};
