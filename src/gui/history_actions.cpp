#include "gui/history_actions.h"

#include "bank/question_bank.h"
#include "flow/quiz_session.h"
#include "gui/modal_seam.h"
#include "history/attempt_from_log.h"
#include "history/history_store.h"
#include "history/results_summary.h"

#include <QDir>

namespace {
const QString title = QStringLiteral("Results");
}

bool keep_results(HistoryStore &history, ModalSeam &modal, QWidget *parent, bool keep)
{
    if (keep == history.is_on())
        return keep;
    if (keep) {
        history.turn_on();
    } else if (modal.ask(parent, title,
                         QObject::tr("Delete your results? The file %1 and every result in it will be deleted.")
                             .arg(QDir::toNativeSeparators(history.path())))) {
        if (!history.turn_off())
            modal.message(parent, title, QObject::tr("The file %1 could not be deleted.")
                                             .arg(QDir::toNativeSeparators(history.path())));
    }
    tell_history_notice(history, modal, parent);
    return history.is_on();
}

void tell_history_notice(HistoryStore &history, ModalSeam &modal, QWidget *parent)
{
    const QString notice = history.take_notice();
    if (!notice.isEmpty())
        modal.message(parent, title, notice);
}

void save_quiz(HistoryStore &history, ModalSeam &modal, const QuizSession &session, const QuestionBank &bank,
               QWidget *parent)
{
    if (!history.is_on() || session.answers().asked() == 0)
        return;
    history.save(attempt_from_log(session.answers(), session.state(), bank, QDateTime::currentDateTimeUtc(),
                                  session.due_for_review()));
    tell_history_notice(history, modal, parent);
}

std::vector<qint16> due_for_review(HistoryStore &history, ModalSeam &modal, const QuestionBank &bank,
                                   QWidget *parent)
{
    if (!history.is_on())
        return {};
    const std::vector<qint16> due =
        due_bank_questions(history.due_questions(bank.test_title, QDateTime::currentDateTimeUtc()), bank);
    tell_history_notice(history, modal, parent);
    return due;
}
