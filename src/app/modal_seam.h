#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

// Every message box and modal window goes through here, so that tests can
// see what would be shown and answer it instead of blocking.
struct ModalSeam {
    std::function<void(QWidget *parent, const QString &title, const QString &text)> message;
    std::function<void(QDialog &dialog)> exec;

    // QMessageBox with an OK button, and QDialog::exec().
    static ModalSeam interactive();
};
