#include "app/history_actions.h"

#include "history/attempt_from_log.h"
#include "app/program.h"
#include "history/results_summary.h"

#include <QDir>

namespace {
const QString title = QStringLiteral("Results");
}

bool keep_results(Program &program, QWidget *parent, bool keep)
{
    HistoryStore &history = program.history;
    if (keep == history.is_on())
        return keep;
    if (keep) {
        history.turn_on();
    } else if (program.modal.ask(parent, title,
                                 QObject::tr("Delete your results? The file %1 and every result in it will be deleted.")
                                     .arg(QDir::toNativeSeparators(history.path())))) {
        if (!history.turn_off())
            program.modal.message(parent, title, QObject::tr("The file %1 could not be deleted.")
                                                     .arg(QDir::toNativeSeparators(history.path())));
    }
    tell_history_notice(program, parent);
    return history.is_on();
}

bool keep_results_and_last_quiz(Program &program, QWidget *parent, bool keep)
{
    const bool was_on = program.history.is_on();
    const bool on = keep_results(program, parent, keep);
    if (on && !was_on)
        save_last_quiz(program, parent);
    return on;
}

void tell_history_notice(Program &program, QWidget *parent)
{
    const QString notice = program.history.take_notice();
    if (!notice.isEmpty())
        program.modal.message(parent, title, notice);
}

void save_last_quiz(Program &program, QWidget *parent)
{
    if (!program.history.is_on() || program.answers.asked() == 0)
        return;
    program.history.save(attempt_from_log(program.answers, program.state, program.bank, QDateTime::currentDateTimeUtc()));
    tell_history_notice(program, parent);
}

std::vector<qint16> due_for_review(Program &program, QWidget *parent)
{
    if (!program.history.is_on())
        return {};
    const std::vector<qint16> due = due_bank_questions(
        program.history.due_questions(program.bank.test_title, QDateTime::currentDateTimeUtc()), program.bank);
    tell_history_notice(program, parent);
    return due;
}
