#include "flow/quiz_session.h"

#include "bank/question_bank.h"
#include "quiz/question_order.h"
#include "quiz/question_presentation.h"
#include "quiz/random_generator.h"

#include <algorithm>

namespace {

constexpr int exam_tick_ms = 250;

} // namespace

QString time_left_text(qint64 milliseconds)
{
    const qint64 seconds = (std::max<qint64>(milliseconds, 0) + 999) / 1000;
    return QStringLiteral("%1:%2").arg(seconds / 60, 2, 10, QLatin1Char('0')).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QuizSession::QuizSession(const QuestionBank &bank, RandomGenerator &random, Clock clock, QObject *parent)
    : QObject(parent), bank_(bank), random_(random), clock_(std::move(clock))
{
    connect(&exam_timer_, &QTimer::timeout, this, &QuizSession::tick);
}

QuizSession::~QuizSession() = default;

const LoggedAnswer *QuizSession::kept_answer() const
{
    return exam_ && in_progress_ ? &exam_->answer(exam_->current()) : nullptr;
}

bool QuizSession::flagged(int position) const
{
    return exam_ && position >= 0 && position < exam_->count() && exam_->flagged(position);
}

void QuizSession::bank_changed()
{
    abandon();
    state_.questions_per_quiz = questions_in_quiz(1, bank_.total_questions);
}

void QuizSession::start(const QuizOptions &options)
{
    const std::vector<qint16> one_based = quiz_bank_questions(options.quiz_number, bank_.total_questions);
    start_with(options, std::vector<qint16>(one_based.begin() + 1, one_based.end()));
}

void QuizSession::start_with(const QuizOptions &options, const std::vector<qint16> &bank_questions)
{
    abandon();
    random_.reseed_from_clock();
    state_.selected_quiz = state_.quiz_number = options.quiz_number;
    state_.show_when_right = options.show_when_right && !options.exam_mode ? 1 : 0;
    state_.show_when_wrong = options.show_when_wrong && !options.exam_mode ? 1 : 0;
    state_.random_question_order = options.random_questions ? 1 : 0;
    state_.random_answer_order = options.random_answers ? 1 : 0;
    state_.exam_mode = options.exam_mode ? 1 : 0;
    state_.exam_minutes = qint16(std::clamp(options.exam_minutes, 0, 32767));
    set_quiz_questions(state_, bank_questions);
    build_question_order(state_, random_);
    state_.question_id = 0;
    state_.current_question = 0;
    state_.number_right = 0;
    answers_.clear();
    ended_by_time_ = false;
    due_for_review_ = options.due_for_review;
    in_progress_ = true;
    // A quiz without questions ends at once, exam or not.
    if (state_.exam_mode == 1 && state_.questions_per_quiz > 0)
        start_exam();
    else
        show_quest();
}

void QuizSession::retry_missed()
{
    const std::vector<qint16> missed = answers_.missed_questions();
    if (missed.empty())
        return;
    QuizOptions options;
    options.quiz_number = state_.quiz_number;
    options.show_when_right = state_.show_when_right == 1;
    options.show_when_wrong = state_.show_when_wrong == 1;
    options.random_questions = state_.random_question_order == 1;
    options.random_answers = state_.random_answer_order == 1;
    options.exam_mode = state_.exam_mode == 1;
    // An exam of fewer questions gets its share of the time.
    const int asked = std::max<int>(state_.questions_per_quiz, 1), now_asked = int(missed.size());
    options.exam_minutes = std::max(1, (state_.exam_minutes * now_asked + asked - 1) / asked);
    start_with(options, missed);
}

LoggedAnswer QuizSession::presented(qint16 bank_index)
{
    const PresentedQuestion shown = present_question(bank_.at(bank_index), state_.random_answer_order == 1, random_);
    LoggedAnswer logged;
    logged.bank_index = bank_index;
    logged.shown = shown.record;
    logged.choice.visible = {};
    for (size_t p = 1; p <= max_answers; ++p)
        logged.choice.visible[p] = !shown.record.answers[p].trimmed().isEmpty();
    return logged;
}

void QuizSession::show_quest()
{
    random_.reseed_from_clock();
    ++state_.current_question;
    if (state_.current_question > state_.questions_per_quiz) {
        end_the_test();
        return;
    }
    state_.question_id = state_.quiz_questions.at(size_t(state_.question_order.at(size_t(state_.current_question))));
    shown_at_ = clock_();
    const PresentedQuestion shown = present_question(bank_.at(state_.question_id), state_.random_answer_order == 1,
                                                     random_);
    state_.answer_count = shown.answer_count;
    state_.current_record = shown.record;
    emit questionShown();
}

void QuizSession::check_answer(const StudentAnswer &answer)
{
    LoggedAnswer logged;
    logged.bank_index = state_.question_id;
    logged.shown = state_.current_record;
    logged.take(answer);
    logged.milliseconds = clock_() - shown_at_;
    mark(logged);
    const bool right = logged.right;
    answers_.add(std::move(logged));
    state_.answer_result = right ? QuizState::answer_right : QuizState::answer_wrong;
    if (right)
        ++state_.number_right;
    emit answerMarked(right, (right ? state_.show_when_right : state_.show_when_wrong) == 1);
}

void QuizSession::next(const StudentAnswer &answer)
{
    if (!in_progress_)
        return;
    if (exam_) {
        keep(answer);
        if (exam_->current() + 1 >= exam_->count())
            emit summaryRequested();
        else
            show_position(exam_->current() + 1);
        return;
    }
    check_answer(answer);
    // The answer window, shown from answerMarked, may have ended the quiz.
    if (in_progress_)
        show_quest();
}

void QuizSession::quit()
{
    if (!in_progress_ || exam_)
        return;
    state_.current_question = state_.questions_per_quiz;
    show_quest();
}

void QuizSession::end_the_test()
{
    in_progress_ = false;
    exam_timer_.stop();
    --state_.current_question;
    emit quizEnded();
}

void QuizSession::abandon()
{
    in_progress_ = false;
    exam_timer_.stop();
    exam_.reset();
}

// The exam

void QuizSession::start_exam()
{
    state_.show_when_right = state_.show_when_wrong = 0;
    exam_ = std::make_unique<ExamSession>(state_.questions_per_quiz, qint64(state_.exam_minutes) * 60'000, clock_());
    random_.reseed_from_clock();
    // Every question is laid out once, so that going back shows it as before.
    for (int p = 0; p < exam_->count(); ++p) {
        const qint16 id = state_.quiz_questions.at(size_t(state_.question_order.at(size_t(p + 1))));
        const LoggedAnswer logged = presented(id);
        exam_->set_question(p, id, logged.shown);
        exam_->keep(p, StudentAnswer{logged.choice, {}, {}, {}});
    }
    exam_timer_.start(exam_tick_ms);
    show_position(0);
    tick();
}

void QuizSession::show_position(int position)
{
    exam_->go_to(position, clock_());
    const LoggedAnswer &answer = exam_->answer(exam_->current());
    state_.current_question = qint16(exam_->current() + 1);
    state_.question_id = answer.bank_index;
    state_.current_record = answer.shown;
    state_.answer_count = qint16(std::count(answer.choice.visible.begin(), answer.choice.visible.end(), true));
    emit questionShown();
}

void QuizSession::keep(const StudentAnswer &answer)
{
    if (!exam_ || !in_progress_)
        return;
    const int p = exam_->current();
    StudentAnswer kept = answer;
    kept.choice.visible = exam_->answer(p).choice.visible;
    exam_->keep(p, kept);
}

void QuizSession::back(const StudentAnswer &answer)
{
    if (exam_ && in_progress_)
        go_to(exam_->current() - 1, answer);
}

void QuizSession::go_to(int position, const StudentAnswer &answer)
{
    if (!exam_ || !in_progress_)
        return;
    keep(answer);
    show_position(position);
}

void QuizSession::set_flagged(int position, bool flagged)
{
    if (exam_ && in_progress_ && position >= 0 && position < exam_->count())
        exam_->set_flagged(position, flagged);
}

void QuizSession::request_summary(const StudentAnswer &answer)
{
    if (!exam_ || !in_progress_)
        return;
    keep(answer);
    emit summaryRequested();
}

void QuizSession::submit()
{
    if (!exam_ || !in_progress_)
        return;
    exam_timer_.stop();
    answers_.clear();
    for (LoggedAnswer &answer : exam_->submit(clock_()))
        answers_.add(std::move(answer));
    state_.number_right = qint16(answers_.right_count());
    state_.current_question = qint16(exam_->count() + 1);  // past the last, as after NEXT on it
    exam_.reset();
    end_the_test();
}

void QuizSession::tick()
{
    if (!exam_ || !in_progress_)
        return;
    const qint64 now = clock_();
    emit timeLeftChanged(exam_->remaining_ms(now));
    const ExamSession::Warning warning = exam_->warning_due(now);
    if (warning != ExamSession::Warning::none)
        emit examWarning(warning);
    if (exam_->time_up(now) && !ended_by_time_) {
        ended_by_time_ = true;
        exam_timer_.stop();
        emit timeUp();
    }
}
