// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/device_console.h"

#include "lab/lab.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

DeviceConsole::DeviceConsole(LabConsole &console, const QString &device_name, QWidget *parent)
    : QWidget(parent), console_(&console)
{
    // Fixed pitch so the caret under a wrong word lines up with it.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    output_ = new QPlainTextEdit(this);
    output_->setReadOnly(true);
    output_->setFont(fixed);
    output_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    output_->setAccessibleName(tr("%1 console output").arg(device_name));
    output_->setTabChangesFocus(true);
    output_->setFocusPolicy(Qt::StrongFocus);  // read-only would leave it out of the Tab order
    prompt_ = new QLabel(console.prompt().trimmed(), this);
    prompt_->setFont(fixed);
    input_ = new QLineEdit(this);
    input_->setFont(fixed);
    input_->setAccessibleName(tr("%1 command").arg(device_name));
    input_->setAccessibleDescription(tr("Enter runs the command; a question mark shows what may come next; "
                                        "Tab completes; Up and Down recall earlier commands"));
    prompt_->setBuddy(input_);
    input_->installEventFilter(this);
    connect(input_, &QLineEdit::returnPressed, this, &DeviceConsole::run_line);

    auto *line = new QHBoxLayout;
    line->addWidget(prompt_);
    line->addWidget(input_, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(output_, 1);
    layout->addLayout(line);
    // The input first: typing is what the page is for; the transcript after.
    setTabOrder(input_, output_);
}

void DeviceConsole::print(const QString &text)
{
    output_->appendPlainText(text);
    output_->ensureCursorVisible();
}

void DeviceConsole::run(const QString &line)
{
    input_->setText(line);
    run_line();
}

void DeviceConsole::run_line()
{
    const QString line = input_->text();
    const ConsoleReply reply = console_->execute(line);
    print(console_->prompt() + line);
    QStringList lines = reply.text.split(QLatin1Char('\n'));
    // A parse error repeats the line with a caret under the wrong word: the
    // line was just echoed after the prompt, so the caret is moved under that.
    if (reply.error && lines.size() > 2 && lines[1].trimmed() == QLatin1String("^")) {
        print(QString(console_->prompt().size(), QLatin1Char(' ')) + lines[1]);
        lines = lines.mid(2);
    }
    if (!reply.text.isEmpty())
        print(reply.error ? tr("Error: %1").arg(lines.join(QLatin1Char('\n'))) : reply.text);
    input_->clear();
    if (!line.trimmed().isEmpty())
        emit command_run(line);
}

void DeviceConsole::show_help()
{
    const QString line = input_->text();
    print(console_->prompt() + line + QLatin1Char('?'));
    print(console_->help_for(line));
}

void DeviceConsole::complete()
{
    const QStringList choices = console_->complete(input_->text());
    if (choices.size() == 1) {
        input_->setText(choices.first());
        return;
    }
    if (choices.isEmpty()) {
        print(console_->prompt() + input_->text());
        print(tr("Nothing completes this."));
        return;
    }
    // Several: take what they share, and show them all.
    QString common = choices.first();
    for (const QString &choice : choices)
        while (!choice.startsWith(common, Qt::CaseInsensitive))
            common.chop(1);
    if (common.size() > input_->text().size())
        input_->setText(common);
    print(console_->prompt() + input_->text());
    print(choices.join(QLatin1Char('\n')));
}

bool DeviceConsole::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != input_ || (event->type() != QEvent::KeyPress && event->type() != QEvent::ShortcutOverride))
        return QWidget::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // Escape is taken here, so it never reaches a window or dialog to close it.
    if (event->type() == QEvent::ShortcutOverride) {
        if (key->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return false;
    }
    switch (key->key()) {
    case Qt::Key_Escape:
        input_->clear();
        return true;
    case Qt::Key_Up:
        input_->setText(console_->history().up());
        return true;
    case Qt::Key_Down:
        input_->setText(console_->history().down());
        return true;
    case Qt::Key_Tab:
        if (input_->text().trimmed().isEmpty() || key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        complete();
        return true;
    case Qt::Key_Question:
        if (input_->cursorPosition() != input_->text().size())
            return false;
        show_help();
        return true;
    default:
        return false;
    }
}
