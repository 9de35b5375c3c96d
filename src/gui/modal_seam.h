#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

// The buttons of the end-of-quiz result box.
enum class ResultChoice { ok, review, retry_missed };

// Every message box and modal window goes through here, so that tests can
// see what would be shown and answer it instead of blocking.
struct ModalSeam {
    std::function<void(QWidget *parent, const QString &title, const QString &text)> message;
    std::function<void(QDialog &dialog)> exec;
    // The result box: OK (the default), "Review answers" and, when missed > 0,
    // "Retry missed (missed)".
    std::function<ResultChoice(QWidget *parent, const QString &title, const QString &text, int missed)> result;
    // A question answered "Yes" (true) or "No".
    std::function<bool(QWidget *parent, const QString &title, const QString &text)> ask;
    // A file dialog: the file chosen, "" when cancelled. Unless set, every
    // dialog is cancelled.
    std::function<QString(QWidget *parent, const QString &caption, const QString &filters)> open_file =
        [](QWidget *, const QString &, const QString &) { return QString(); };

    // QMessageBox with an OK button, QDialog::exec() and QFileDialog.
    static ModalSeam interactive();
};
