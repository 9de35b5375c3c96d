// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

class LabConsole;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

// One device's console: a read-only transcript and an input line after the
// device's prompt. Enter runs the line, "?" at the end of it shows what may
// come next, Tab completes (Tab on an empty line moves on, so the keyboard
// can leave), Up and Down recall the device's history, Escape clears.
class DeviceConsole : public QWidget {
    Q_OBJECT
public:
    DeviceConsole(LabConsole &console, const QString &device_name, QWidget *parent = nullptr);

    QLineEdit *input() const { return input_; }
    QPlainTextEdit *output() const { return output_; }
    // Runs a line as if typed and entered.
    void run(const QString &line);

signals:
    void command_run(const QString &line);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void run_line();
    void show_help();
    void complete();
    void print(const QString &text);

    LabConsole *console_;
    QPlainTextEdit *output_;
    QLabel *prompt_;
    QLineEdit *input_;
};
