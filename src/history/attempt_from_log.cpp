#include "history/attempt_from_log.h"

#include "quiz/answer_log.h"
#include "bank/question_bank.h"
#include "history/question_identity.h"
#include "quiz/question_order.h"
#include "quiz/quiz_state.h"

#include <algorithm>

namespace {

// The texts of the answers pressed (they keep their meaning whatever the
// shuffle), one a line, the typed text, or each stem with its meaning given.
QString given(const LoggedAnswer &answer)
{
    if (answer.typed_question())
        return answer.typed;
    if (answer.matching_question()) {
        QStringList pairs;
        for (int stem = 0; stem < matching_stems(answer.shown); ++stem)
            pairs << answer.shown.answers[size_t(stem + 1)] + QStringLiteral(" -> ") +
                         meaning_given(answer.shown, answer.matched, stem);
        return pairs.join(QLatin1Char('\n'));
    }
    QStringList pressed;
    for (size_t p = 1; p <= max_answers; ++p) {
        if (answer.choice.visible[p] && answer.choice.pressed[p])
            pressed << answer.shown.answers[p];
    }
    return pressed.join(QLatin1Char('\n'));
}

QString options_text(const QuizState &state)
{
    QString text = QStringLiteral("when_right=%1 when_wrong=%2 shuffle_questions=%3 shuffle_answers=%4")
                       .arg(state.show_when_right).arg(state.show_when_wrong)
                       .arg(state.random_question_order).arg(state.random_answer_order);
    if (state.exam_mode == 1)
        text += QStringLiteral(" exam_minutes=%1").arg(state.exam_minutes);
    return text;
}

int quiz_of(const QuizState &state, const QuestionBank &bank, bool due_for_review)
{
    if (due_for_review)
        return AttemptRecord::due_questions;
    const std::vector<qint16> whole_quiz = quiz_bank_questions(state.quiz_number, bank.total_questions);
    return state.quiz_questions == whole_quiz ? state.quiz_number : AttemptRecord::chosen_questions;
}

} // namespace

AttemptRecord attempt_from_log(const AnswerLog &log, const QuizState &state, const QuestionBank &bank,
                               const QDateTime &ended, bool due_for_review)
{
    AttemptRecord attempt;
    attempt.bank_title = bank.test_title;
    attempt.bank_hash = bank_hash(bank);
    attempt.quiz = quiz_of(state, bank, due_for_review);
    attempt.mode = state.exam_mode == 1 ? QuizMode::exam : QuizMode::practice;
    attempt.options = options_text(state);
    attempt.ended = ended;
    attempt.asked = std::max<int>(log.asked(), state.questions_per_quiz);
    attempt.right = log.right_count();
    qint64 spent = 0;
    for (const LoggedAnswer &answer : log.answers()) {
        const question_record &asked = bank.at(answer.bank_index);
        attempt.answers.push_back({answer.bank_index, question_hash(asked), asked.topic, given(answer), answer.right,
                                   answer.milliseconds});
        spent += answer.milliseconds;
    }
    attempt.started = ended.addMSecs(-spent);
    return attempt;
}
