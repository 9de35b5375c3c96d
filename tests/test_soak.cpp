// A long, seeded run of random student actions over the whole program:
// every button that is on screen, typing into the answer box, keys, resizing
// and closing windows from the title bar, quizzes started, finished and
// quit, and the program started again whenever it has ended. After every
// action the windows, the registry and the quiz state must agree.
//
//   SOAK_ACTIONS  number of actions (default 2000)
//   SOAK_SEED     seed of the action choices (default 20240601)
//   SOAK_TRACE=1  print every action as it is done
//
// A failure names the seed and the action; the same seed makes the same
// choices for as long as the program shows the same questions (the program
// shuffles from the clock, so a replay may drift once a shuffle is on).
#include "harness/matching_sample.h"
#include "harness/quiz_harness.h"

#include "gui/choosetest.h"
#include "gui/diagram.h"
#include "gui/exhibit.h"
#include "quiz/exhibit_file.h"
#include "gui/exam_summary.h"
#include "gui/review_window.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>

namespace {

constexpr quint32 default_seed = 20240601;
constexpr int default_actions = 2000;

// The bank has no typed or matching questions, clues, diagrams or exhibits
// of its own, so every time it is filled some records get them, the same
// ones each time.
const QString dressed_mark = QStringLiteral("soak-dressed");
const QString diagram_file = QStringLiteral("soak-diagram.png");
const QString exhibit_file = QStringLiteral("soak-exhibit.txt");
const QString folder_name = QStringLiteral("soak-folder.txt");

void dress_bank(QuestionBank &bank)
{
    // Index 0 is never asked and is emptied by every fill.
    if (bank.at(0).reserved_text == dressed_mark)
        return;
    bank.at(0).reserved_text = dressed_mark;
    for (int i = 1; i <= bank.total_questions; ++i) {
        question_record &record = bank.at(i);
        if (i % 7 == 5) {
            record.question_type = QStringLiteral("FILL_IN");
            record.answers = {QString(), QStringLiteral("trunk"), QStringLiteral(" Dot1Q "), QString(),
                              QString(), QString(), QString()};
            record.correct = {0, 1, 1, 0, 0, 0, 0};
        }
        if (i % 13 == 8) {
            const question_record matching = port_states_matching();
            record.question_type = matching.question_type;
            record.answers = matching.answers;
            record.matches = matching.matches;
            record.correct = {};
        }
        if (i % 5 == 1)
            record.clue = QStringLiteral("Think of what the switch floods.");
        if (i % 9 == 2) {
            record.diagrams[1] = diagram_file;
            record.diagrams[3] = QStringLiteral("soak-missing.png");
        }
        if (i % 11 == 4) {
            record.exhibits[1] = QStringLiteral("soak-missing.txt");
            record.exhibits[2] = exhibit_file;
            record.exhibits[3] = folder_name;
        }
    }
}

bool is_offered(const question_record &record, size_t p)
{
    return !record.answers[p].trimmed().isEmpty();
}

QString class_of(const QObject *object)
{
    return QString::fromLatin1(object->metaObject()->className());
}

// What the program looked like just before an action.
struct Before {
    const quest *window = nullptr;  // the question window, when one is loaded (may be deleted since)
    qint16 current = 0;
    qint16 right = 0;
    qint16 record_id = 0;  // bank index of the question on screen
    bool would_be_right = false;
    bool typed = false;
    question_record record;
    std::array<bool, 7> checked{};
    int messages = 0;
    int answers = 0;
    bool options_loaded = false;
    int options_quiz = 0;  // the checked radio button, 0 when none
    std::array<bool, 4> options_flags{};  // when right, when wrong, random questions, random answers
    int loaded = 0;
    bool exhibit_loaded = false;
    bool button_checked = false;  // the clicked button, when it is checkable
    ResultChoice result_choice = ResultChoice::ok;  // the answer to a result box, should one come
    int results = 0;              // result boxes so far
    qint16 total = 0;             // questions in the quiz
    std::vector<qint16> missed;   // the log's missed questions
    bool review_loaded = false;
    bool options_exam = false;    // the options' exam mode box
    bool exam = false;            // an exam is running
    std::vector<LoggedAnswer> exam_marked;  // what submitting the exam now would give
    QString bank_title;           // of the bank in use
};

struct Stats {
    int runs = 0;
    int quizzes = 0;
    int finished = 0;
    int quit = 0;
    int markings = 0;
    int marked_right = 0;
    int answer_windows = 0;
    int typed_marked = 0;
    int matching_marked = 0;
    int clues = 0;
    int diagrams = 0;
    int exhibits = 0;
    int closes = 0;
    int reviews = 0;
    int retries = 0;
    int exams = 0;
};

struct Action {
    Action(QString label, double weight, std::function<void()> run, QAbstractButton *button = nullptr)
        : label(std::move(label)), weight(weight), run(std::move(run)), button(button),
          button_name(button ? button->objectName() : QString())
    {
    }

    QString label;
    double weight;
    std::function<void()> run;
    QPointer<QAbstractButton> button;  // when the action clicks a button
    QString button_name;
};

} // namespace

class SoakTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void random_actions();

private:
    Program &program() { return harness_->program; }
    QuizHarness &h() { return *harness_; }

    void start_program(bool fresh);
    std::vector<Action> possible_actions();
    Before snapshot(const Action &action);
    void check(const Before &before, const Action &action);
    void check_windows();
    void check_quiz(quest &window);
    void check_transition(const Before &before, const Action &action);
    void check_review();
    bool check_after_result(const Before &before, std::vector<qint16> missed);
    void expect_retry(const std::vector<qint16> &missed);
    void fail(const QString &what)
    {
        if (failure_.isEmpty())
            failure_ = what;
    }
    double uniform() { return std::uniform_real_distribution<double>(0, 1)(rng_); }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    QString random_text();

    QTemporaryDir files_;
    QString old_dir_;
    std::mt19937 rng_;
    std::unique_ptr<QuizHarness> harness_;
    QMetaObject::Connection ended_connection_;
    int ended_ = 0;           // lastWindowUnloaded since this run of the program started
    QSet<int> asked_;         // bank questions asked in the quiz on screen
    double quit_weight_ = 0.1;
    double close_weight_ = 0.05;
    Stats stats_;
    QStringList clicked_;     // buttons clicked during the action, by mouse or key
    QString failure_;
    qint64 clock_ = 0;        // the program's clock, moved by "time passes"
};

void SoakTest::initTestCase()
{
    QVERIFY(files_.isValid());
    old_dir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(files_.path()));
    QImage image(48, 32, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QVERIFY(image.save(diagram_file));
    QFile text(exhibit_file);
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("port 1/1\r\n tagged member of VLANs 10 and 20\n untagged member of VLAN 1\n");
    text.close();
    QVERIFY(QDir().mkdir(folder_name));
}

void SoakTest::cleanupTestCase()
{
    harness_.reset();
    QuizHarness::settle();
    QDir::setCurrent(old_dir_);
}

void SoakTest::start_program(bool fresh)
{
    if (fresh || !harness_) {
        harness_.reset();
        QuizHarness::settle();
        harness_ = std::make_unique<QuizHarness>();
    }
    ended_ = 0;
    QObject::disconnect(ended_connection_);
    program().clock = [this] { return clock_; };
    ended_connection_ = connect(&program().windows, &WindowRegistry::lastWindowUnloaded, this, [this] { ++ended_; });
    // "Open a file..." in the bank chooser answers with a sample bank, or
    // with one that does not exist.
    program().modal.open_file = [this](QWidget *, const QString &, const QString &) {
        static const char *const banks[] = {"switching.gift", "campus.xml", "lab.json", "none.gift"};
        return QStringLiteral(QUIZ_TEST_DATA "/open/") + QLatin1String(banks[below(4)]);
    };
    // As main does.
    h().navigator.open_first_window(QString());
    dress_bank(program().bank);
    ++stats_.runs;
    quit_weight_ = 0.1;
    close_weight_ = 0.05;

    Welcome &welcome = program().windows.get<Welcome>();
    if (!welcome.isVisible())
        fail(QStringLiteral("the welcome window is not shown at start"));
    if (program().windows.loaded_count() != 1)
        fail(QStringLiteral("%1 windows loaded at start").arg(program().windows.loaded_count()));
    if (program().bank.total_questions < 1 || welcome.windowTitle() != program().bank.test_title)
        fail(QStringLiteral("the bank is not filled at start"));
}

QString SoakTest::random_text()
{
    const question_record &record = program().session.state().current_record;
    if (uniform() < 0.4) {
        // An accepted answer, in any case and with spaces around it.
        QString text = record.answers[size_t(1 + below(2))];
        text = uniform() < 0.5 ? text.toLower() : text.toUpper();
        return QString(below(3), QLatin1Char(' ')) + text.trimmed() + QString(below(3), QLatin1Char(' '));
    }
    static const QString characters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEF0123456789 ./-_:;,");
    QString text;
    for (int n = 1 + below(14); n > 0; --n)
        text += characters.at(below(int(characters.size())));
    return text;
}

std::vector<Action> SoakTest::possible_actions()
{
    std::vector<Action> actions;
    QList<QWidget *> windows = program().windows.loaded_windows();
    std::sort(windows.begin(), windows.end(),
              [](QWidget *a, QWidget *b) { return class_of(a) < class_of(b); });

    for (QWidget *window : std::as_const(windows)) {
        if (!window || !window->isVisible())
            continue;
        const QString name = class_of(window);

        QList<QAbstractButton *> buttons = window->findChildren<QAbstractButton *>();
        std::sort(buttons.begin(), buttons.end(),
                  [](QAbstractButton *a, QAbstractButton *b) { return a->objectName() < b->objectName(); });
        for (QAbstractButton *button : std::as_const(buttons)) {
            if (!button->isVisible() || !button->isEnabled())
                continue;
            const QString label = name + QLatin1Char('.') + button->objectName();
            double weight = 1;
            if (label == QLatin1String("Welcome.Start_Quiz"))
                weight = 3;
            else if (label == QLatin1String("Welcome.Command1"))
                weight = 0.3;  // Exit
            else if (label == QLatin1String("pick_a_quiz.Command1"))
                weight = 2;
            else if (label == QLatin1String("choosetest.openFile"))
                weight = 3;
            else if (label == QLatin1String("quest.NextButton"))
                weight = 4;
            else if (label == QLatin1String("quest.quitquiz"))
                weight = quit_weight_;
            else if (label.startsWith(QLatin1String("quest.QChoice_")))
                weight = 1.2;
            else if (label.startsWith(QLatin1String("ExamSummary.position_")))
                weight = 0.05;
            else if (label.startsWith(QLatin1String("quest.")))
                weight = 0.5;  // clue, diagrams, exhibits
            // Check boxes and radio buttons are hit on their indicator.
            QPoint where = button->rect().center();
            if (qobject_cast<QCheckBox *>(button) || qobject_cast<QRadioButton *>(button)) {
                QStyleOptionButton option;
                option.initFrom(button);
                const auto element = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonClickRect
                                                                          : QStyle::SE_CheckBoxClickRect;
                where = button->style()->subElementRect(element, &option, button).center();
            }
            actions.push_back({QStringLiteral("click ") + label, weight,
                               [button, where] { QTest::mouseClick(button, Qt::LeftButton, {}, where); }, button});
        }

        actions.push_back({QStringLiteral("close ") + name, close_weight_, [window] { window->close(); }});

        // A key goes where the window's focus is.
        QPointer<QWidget> target = window->focusWidget() ? window->focusWidget() : window;
        actions.push_back({QStringLiteral("key on ") + name, 0.8, [this, target] {
                               static const Qt::Key keys[] = {Qt::Key_A, Qt::Key_B, Qt::Key_C, Qt::Key_D,
                                                              Qt::Key_E, Qt::Key_F, Qt::Key_Q, Qt::Key_Return,
                                                              Qt::Key_Enter, Qt::Key_Space, Qt::Key_Tab,
                                                              Qt::Key_Backspace, Qt::Key_Escape};
                               const Qt::Key key = keys[below(int(std::size(keys)))];
                               if (target)
                                   QTest::keyClick(target, key, uniform() < 0.1 ? Qt::ShiftModifier : Qt::NoModifier);
                           }});

        if (window->minimumSize() != window->maximumSize()) {
            actions.push_back({QStringLiteral("resize ") + name, 0.2, [this, window] {
                                   window->resize(200 + below(1400), 150 + below(900));
                               }});
        }
    }

    if (program().windows.is_loaded<pick_a_quiz>() && program().windows.get<pick_a_quiz>().isVisible()) {
        QSpinBox *minutes = ctl<QSpinBox>(program().windows.get<pick_a_quiz>(), "exam_minutes");
        actions.push_back({QStringLiteral("choose a short exam"), 0.3, [this, minutes] { minutes->setValue(1 + below(3)); }});
    }
    if (program().session.exam()) {
        actions.push_back({QStringLiteral("time passes"), 0.3, [this] {
                               clock_ += 60'000 * (1 + below(12));
                               program().session.tick();
                               QuizHarness::settle();
                           }});
    }
    if (program().windows.is_loaded<quest>()) {
        quest &window = program().windows.get<quest>();
        if (!is_typed_question(program().session.state().current_record)) {
            // A student who knows: exactly the right choices pressed.
            actions.push_back({QStringLiteral("press the right answers"), 1.5, [this, &window] {
                                   const question_record &record = program().session.state().current_record;
                                   for (size_t p = 1; p <= 6; ++p) {
                                       QPushButton *choice = ctl<QPushButton>(window, "QChoice_", p);
                                       if (!choice->isHidden() && choice->isChecked() != (record.correct[p] == 1))
                                           QTest::mouseClick(choice, Qt::LeftButton);
                                   }
                               }});
        }
        if (is_matching_question(program().session.state().current_record)) {
            const QList<QComboBox *> lists = ctl<QWidget>(window, "matching")->findChildren<QComboBox *>();
            actions.push_back({QStringLiteral("give each item its meaning"), 1.5, [this, lists] {
                                   const question_record &record = program().session.state().current_record;
                                   for (int stem = 0; stem < lists.size(); ++stem)
                                       lists[stem]->setCurrentIndex(lists[stem]->findText(record.matches[size_t(stem + 1)]));
                               }});
            actions.push_back({QStringLiteral("choose a meaning with the keyboard"), 1.5, [this, lists] {
                                   QComboBox *list = lists[below(int(lists.size()))];
                                   QTest::keyClick(list, uniform() < 0.7 ? Qt::Key_Down : Qt::Key_Up);
                               }});
        }
        QPlainTextEdit *box = ctl<QPlainTextEdit>(window, "abox_", 1);
        if (box->isVisible() && !box->isReadOnly()) {
            actions.push_back({QStringLiteral("type in the answer box"), 3, [this, box] {
                                   if (uniform() < 0.3) {
                                       QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
                                       QTest::keyClick(box, Qt::Key_Delete);
                                   }
                                   QTest::keyClicks(box, random_text());
                               }});
        }
    }
    return actions;
}

Before SoakTest::snapshot(const Action &action)
{
    Before before;
    before.button_checked = action.button && action.button->isChecked();
    before.messages = int(h().messages.size());
    before.answers = int(h().answers.size());
    before.loaded = program().windows.loaded_count();
    before.exhibit_loaded = program().windows.is_loaded<Exhibit>();
    const QuizState &state = program().session.state();
    before.result_choice = h().result_choice;
    before.results = int(h().result_missed.size());
    before.total = state.questions_per_quiz;
    before.missed = program().session.answers().missed_questions();
    before.review_loaded = program().windows.is_loaded<ReviewWindow>();
    before.bank_title = program().bank.test_title;
    if (program().windows.is_loaded<quest>()) {
        quest &window = program().windows.get<quest>();
        before.window = &window;
        before.current = state.current_question;
        before.right = state.number_right;
        before.record = state.current_record;
        before.record_id = state.question_id;
        if (const ExamSession *exam = program().session.exam()) {
            before.exam = true;
            ExamSession now = *exam;
            StudentAnswer on_screen = window.answer_on_screen();
            on_screen.choice.visible = now.answer(now.current()).choice.visible;
            now.keep(now.current(), on_screen);
            before.exam_marked = now.submit(clock_);
        }
        before.typed = is_typed_question(state.current_record);
        // Whether NEXT now would mark the answer right.
        if (is_lab_question(state.current_record)) {
            before.would_be_right = lab_is_right(window.answer_on_screen().lab);
        } else if (is_matching_question(state.current_record)) {
            before.would_be_right = matching_is_right(before.record, window.answer_on_screen().matched);
        } else if (before.typed) {
            const QString entry = ctl<QPlainTextEdit>(window, "abox_", 1)->toPlainText().trimmed().toUpper();
            before.would_be_right = false;
            for (size_t p = 1; p <= 6; ++p) {
                if (is_offered(before.record, p) && before.record.answers[p].trimmed().toUpper() == entry)
                    before.would_be_right = true;
            }
        } else {
            before.would_be_right = true;
            for (size_t p = 1; p <= 6; ++p) {
                before.checked[p] = ctl<QPushButton>(window, "QChoice_", p)->isChecked();
                if (!ctl<QPushButton>(window, "QChoice_", p)->isHidden() && before.checked[p] != (before.record.correct[p] == 1))
                    before.would_be_right = false;
            }
        }
    }
    if (program().windows.is_loaded<pick_a_quiz>()) {
        QWidget &ui = program().windows.get<pick_a_quiz>();
        before.options_loaded = true;
        const QRadioButton *radios[] = {ctl<QRadioButton>(ui, "which_quiz_1"), ctl<QRadioButton>(ui, "which_quiz_2"), ctl<QRadioButton>(ui, "which_quiz_3"), ctl<QRadioButton>(ui, "which_quiz_4")};
        for (int n = 1; n <= 4; ++n) {
            if (radios[n - 1]->isChecked())
                before.options_quiz = n;
        }
        before.options_flags = {ctl<QCheckBox>(ui, "answer_when_right")->checkState() == Qt::Checked,
                                ctl<QCheckBox>(ui, "answer_when_wrong")->checkState() == Qt::Checked,
                                ctl<QCheckBox>(ui, "random_questions")->checkState() == Qt::Checked,
                                ctl<QCheckBox>(ui, "random_answers")->checkState() == Qt::Checked};
        before.options_exam = ctl<QCheckBox>(ui, "exam_mode")->checkState() == Qt::Checked;
    }
    return before;
}

void SoakTest::check(const Before &before, const Action &action)
{
    check_windows();
    if (program().windows.is_loaded<quest>())
        check_quiz(program().windows.get<quest>());
    if (program().windows.is_loaded<ReviewWindow>())
        check_review();
    check_transition(before, action);
}

// The review window lists the questions of the log its filter lets through.
void SoakTest::check_review()
{
    ReviewWindow &review = program().windows.get<ReviewWindow>();
    const auto &log = program().session.answers().answers();
    if (review.rows() != filtered_positions(log, review.filter()) || ctl<QListWidget>(review, "question_list")->count() != int(review.rows().size()))
        fail(QStringLiteral("the review lists %1 rows for its filter").arg(ctl<QListWidget>(review, "question_list")->count()));
    if (ctl<QPushButton>(review, "retry_missed")->isVisible() != (program().session.answers().missed_count() > 0))
        fail(QStringLiteral("the review offers a retry of %1 missed").arg(program().session.answers().missed_count()));
}

// After the result box: the welcome window, the review, or a retry of the
// missed questions, as answered. True when a retry began.
bool SoakTest::check_after_result(const Before &before, std::vector<qint16> missed)
{
    const int count = int(missed.size());
    if (h().result_missed.size() != before.results + 1 || h().result_missed.last() != count)
        fail(QStringLiteral("the result box did not offer %1 missed").arg(count));
    const bool shown = [&](QWidget *window) { return window && window->isVisible() && program().windows.loaded_count() == 1; }(
        program().windows.is_loaded<ReviewWindow>() ? static_cast<QWidget *>(&program().windows.get<ReviewWindow>())
        : program().windows.is_loaded<Welcome>()    ? static_cast<QWidget *>(&program().windows.get<Welcome>())
                                                    : nullptr);
    if (before.result_choice == ResultChoice::retry_missed && count > 0) {
        expect_retry(missed);
        return true;
    }
    if (before.result_choice == ResultChoice::review) {
        ++stats_.reviews;
        if (!program().windows.is_loaded<ReviewWindow>() || !shown)
            fail(QStringLiteral("the review does not follow the result box"));
    } else if (!program().windows.is_loaded<Welcome>() || !shown) {
        fail(QStringLiteral("the welcome window does not follow the quiz"));
    }
    return false;
}

// A quiz of exactly the missed questions has begun.
void SoakTest::expect_retry(const std::vector<qint16> &missed)
{
    const QuizState &state = program().session.state();
    ++stats_.retries;
    asked_ = {state.question_id};
    std::vector<qint16> asking(state.quiz_questions.begin() + 1, state.quiz_questions.end()), expected = missed;
    std::sort(asking.begin(), asking.end());
    std::sort(expected.begin(), expected.end());
    if (asking != expected || state.current_question != 1 || state.number_right != 0
        || program().windows.loaded_count() != 1 || !program().windows.get<quest>().isVisible())
        fail(QStringLiteral("the retry is not a fresh quiz of the %1 missed questions: %2 asked, question %3, %4 right, %5 windows")
                 .arg(missed.size()).arg(asking.size()).arg(state.current_question).arg(state.number_right)
                 .arg(program().windows.loaded_count()));
}

// The registry and the screen agree: every window on screen is loaded (or is
// the lab window of the lab question on screen), no window of the program
// outlives its unloading, and a running program always has a window to show.
void SoakTest::check_windows()
{
    const QList<QWidget *> loaded = program().windows.loaded_windows();
    int shown = 0;
    for (QWidget *window : loaded) {
        if (!window) {
            fail(QStringLiteral("a loaded window has been deleted"));
            return;
        }
        shown += window->isVisible();
    }
    const QWidgetList top_level = QApplication::topLevelWidgets();
    const bool lab_asked = program().session.in_progress() && is_lab_question(program().session.state().current_record);
    for (QWidget *widget : top_level) {
        if (loaded.contains(widget) || (lab_asked && qobject_cast<LabWindow *>(widget) && loaded.contains(widget->parentWidget())))
            continue;
        // A list's open popup (Space on a matching question's list) belongs to its window.
        if (widget->windowType() == Qt::Popup && widget->parentWidget() && loaded.contains(widget->parentWidget()->window()))
            continue;
        if (widget->isVisible())
            fail(QStringLiteral("%1 \"%2\" is on screen but not loaded").arg(class_of(widget), widget->windowTitle()));
        else if (dynamic_cast<Form *>(widget))
            fail(QStringLiteral("%1 was unloaded but still exists").arg(class_of(widget)));
    }
    if (!loaded.isEmpty() && shown == 0)
        fail(QStringLiteral("%1 windows loaded and none on screen").arg(loaded.size()));
    if (program().windows.is_loaded<ExamSummary>() && !program().windows.is_loaded<quest>())
        fail(QStringLiteral("the exam summary outlived the exam"));
    if (program().windows.is_loaded<theanswer>())
        fail(QStringLiteral("the answer window stayed loaded"));
    if ((program().windows.is_loaded<Diagram>() || program().windows.is_loaded<Exhibit>())
        && !program().windows.is_loaded<quest>())
        fail(QStringLiteral("a diagram or exhibit outlived its question window"));
    if (loaded.isEmpty() ? ended_ != 1 : ended_ != 0)
        fail(QStringLiteral("the end of the program was signalled %1 times with %2 windows loaded")
                 .arg(ended_)
                 .arg(loaded.size()));
}

void SoakTest::check_quiz(quest &window)
{
    const QuizState &state = program().session.state();
    const qint16 current = state.current_question;
    const qint16 right = state.number_right;
    const qint16 total = state.questions_per_quiz;
    if (!(0 <= right && right < current && current <= total))
        fail(QStringLiteral("counters out of range: right %1, question %2 of %3").arg(right).arg(current).arg(total));
    if (!window.isVisible())
        fail(QStringLiteral("the question window is loaded but hidden"));
    if (state.quiz_number < 1 || state.quiz_number > 4 || current < 1 || current > total)
        return;

    const int expected_id = state.quiz_questions.at(size_t(state.question_order.at(size_t(current))));
    if (state.question_id != expected_id)
        fail(QStringLiteral("question %1 shows bank question %2, not %3").arg(current).arg(state.question_id).arg(expected_id));
    QWidget &ui = window;
    if (ctl<QLabel>(ui, "qid")->text() != QString::number(state.question_id) || ctl<QLabel>(ui, "question_number")->text() != QString::number(current))
        fail(QStringLiteral("the question labels read %1 and %2").arg(ctl<QLabel>(ui, "qid")->text(), ctl<QLabel>(ui, "question_number")->text()));

    if (const ExamSession *exam = program().session.exam()) {
        // Nothing marked in an exam; its own controls say where it stands.
        const ExamSession &session = *exam;
        if (!ctl<QLabel>(ui, "score")->isHidden() || !ctl<QFrame>(ui, "the_gauge")->isHidden() || ctl<QLabel>(ui, "exam_time_left")->text().isEmpty()
            || ctl<QPushButton>(ui, "exam_back")->isEnabled() != (current > 1) || ctl<QCheckBox>(ui, "exam_flag")->isChecked() != session.flagged(current - 1)
            || session.current() != current - 1)
            fail(QStringLiteral("the exam's controls disagree with question %1").arg(current));
    }
    // Score and percentage of the answers marked so far.
    const int marked = current - 1;
    const QString score = marked > 0 ? QStringLiteral("%1/%2").arg(right).arg(marked) : QString();
    const QString percent = marked > 0 ? QStringLiteral("%1%").arg(right * 100 / marked) : QString();
    if (!program().session.exam() && (ctl<QLabel>(ui, "score")->text() != score || ctl<QLabel>(ui, "Percent_Right")->text() != percent))
        fail(QStringLiteral("score shows \"%1\" \"%2\", expected \"%3\" \"%4\"")
                 .arg(ctl<QLabel>(ui, "score")->text(), ctl<QLabel>(ui, "Percent_Right")->text(), score, percent));
    if (right == marked && ctl<QFrame>(ui, "the_gauge")->isVisible())
        fail(QStringLiteral("the gauge shows wrong answers when there are none"));

    // The question on screen is the bank's, its answers only reordered.
    const question_record &record = state.current_record;
    const question_record &bank_record = program().bank.at(state.question_id);
    if (record.question != bank_record.question || record.clue != bank_record.clue
        || record.diagrams != bank_record.diagrams || record.exhibits != bank_record.exhibits
        || record.question_type != bank_record.question_type)
        fail(QStringLiteral("the record on screen is not bank question %1").arg(state.question_id));
    QStringList shown_pairs, bank_pairs;
    for (size_t p = 1; p <= 6; ++p) {
        shown_pairs << record.answers[p] + QLatin1Char('|') + QString::number(record.correct[p]);
        bank_pairs << bank_record.answers[p] + QLatin1Char('|') + QString::number(bank_record.correct[p]);
    }
    if (state.random_answer_order == 0 ? shown_pairs != bank_pairs
                                       : (shown_pairs.sort(), bank_pairs.sort(), shown_pairs != bank_pairs))
        fail(QStringLiteral("the answers of bank question %1 changed on the way to the screen").arg(state.question_id));
    // The text box gives line breaks (CR LF in a record) back as LF.
    if (ctl<QPlainTextEdit>(ui, "Q1")->toPlainText() != QString(record.question).replace(QLatin1String("\r\n"), QLatin1String("\n")))
        fail(QStringLiteral("the question text differs from the record"));

    // The answer buttons on screen are the record's non-empty answers.
    const bool typed = is_typed_question(record);
    const bool matching = is_matching_question(record);
    int offered = 0;
    for (size_t p = 1; p <= 6; ++p) {
        const bool offer = !typed && !matching && is_offered(record, p);
        offered += is_offered(record, p);
        if (ctl<QPushButton>(window, "QChoice_", p)->isHidden() == offer || ctl<QPlainTextEdit>(window, "abox_", p)->isHidden() == (offer || (typed && p == 1)))
            fail(QStringLiteral("answer %1 is %2 on screen").arg(QChar(u'A' + int(p) - 1)).arg(QLatin1String(offer ? "missing" : "left")));
        if (offer && ctl<QPlainTextEdit>(window, "abox_", p)->toPlainText() != record.answers[p])
            fail(QStringLiteral("answer %1 shows other text").arg(QChar(u'A' + int(p) - 1)));
    }
    if (matching && ctl<QWidget>(window, "matching")->findChildren<QComboBox *>().size() != matching_stems(record))
        fail(QStringLiteral("the matching question's lists are not its stems"));
    if (typed && ctl<QPlainTextEdit>(window, "abox_", 1)->isReadOnly())
        fail(QStringLiteral("the answer box of a typed question is read-only"));
    if (state.answer_count != offered)
        fail(QStringLiteral("answer_count %1 for %2 answers").arg(state.answer_count).arg(offered));
    if (ctl<QPushButton>(ui, "cluebutton")->isHidden() != record.clue.trimmed().isEmpty())
        fail(QStringLiteral("the clue button does not match the record"));
    for (size_t m = 1; m <= 3; ++m) {
        if (ctl<QPushButton>(window, "diagrambutton_", m)->isHidden() != record.diagrams[m].trimmed().isEmpty()
            || ctl<QPushButton>(window, "exhibitbutton_", m)->isHidden() != record.exhibits[m].trimmed().isEmpty())
            fail(QStringLiteral("diagram or exhibit button %1 does not match the record").arg(m));
    }
}

void SoakTest::check_transition(const Before &before, const Action &action)
{
    const QuizState &state = program().session.state();
    const int new_messages = int(h().messages.size()) - before.messages;
    const int new_answers = int(h().answers.size()) - before.answers;
    const bool reported = h().result_missed.size() > before.results;
    const bool quest_loaded = program().windows.is_loaded<quest>();
    quest *window = quest_loaded ? &program().windows.get<quest>() : nullptr;
    const QString &button = action.button_name;

    // The answer window follows a marking, right or wrong as the options say.
    const auto expect_marking = [&] {
        ++stats_.markings;
        stats_.marked_right += before.would_be_right;
        stats_.typed_marked += before.typed;
        stats_.matching_marked += is_matching_question(before.record);
        const bool show = before.would_be_right ? state.show_when_right == 1 : state.show_when_wrong == 1;
        if (new_answers != int(show)) {
            fail(QStringLiteral("%1 answer windows after a %2 answer").arg(new_answers).arg(before.would_be_right ? "right" : "wrong"));
        } else if (show) {
            ++stats_.answer_windows;
            const QString heading = before.would_be_right ? QStringLiteral("Great Job.") : QStringLiteral("Incorrect.");
            if (!h().answers.last().startsWith(heading))
                fail(QStringLiteral("the answer window begins \"%1\"").arg(h().answers.last().left(20)));
        }
    };

    if (before.window && window == before.window && !reported && before.exam) {
        if (state.number_right != 0 || new_answers != 0)
            fail(QStringLiteral("the exam marked an answer before it was submitted"));
    } else if (before.window && window == before.window && !reported) {
        // The same quiz goes on.
        if (state.current_question == before.current + 1) {
            expect_marking();
            if (state.number_right != before.right + int(before.would_be_right))
                fail(QStringLiteral("number_right %1 after %2 and a %3 answer")
                         .arg(state.number_right).arg(before.right).arg(before.would_be_right ? "right" : "wrong"));
            if (asked_.contains(state.question_id))
                fail(QStringLiteral("bank question %1 asked twice in one quiz").arg(state.question_id));
            asked_.insert(state.question_id);
        } else if (state.current_question == before.current) {
            if (state.number_right != before.right || new_answers != 0)
                fail(QStringLiteral("the score moved without a marking"));
            const bool clue = clicked_.contains(QStringLiteral("quest.cluebutton"));
            if (new_messages != int(clue))
                fail(QStringLiteral("%1 message boxes").arg(new_messages));
            if (clue) {
                ++stats_.clues;
                if (h().messages.last().title != QLatin1String("Clue") || h().messages.last().text != before.record.clue)
                    fail(QStringLiteral("the clue box shows \"%1\"").arg(h().messages.last().text));
            }
            for (const QString &name : std::as_const(clicked_)) {
                const QString kind = name.section(QLatin1Char('_'), 0, 0) + QLatin1Char('_');
                if (kind != QLatin1String("quest.diagrambutton_") && kind != QLatin1String("quest.exhibitbutton_"))
                    continue;
                const size_t m = size_t(name.mid(kind.size()).toInt());
                const bool diagram = kind.contains(QLatin1String("diagram"));
                const QString file = diagram ? before.record.diagrams[m] : before.record.exhibits[m];
                // Files of the soak's own, or those beside a bank opened from a file.
                const BankFiles &files = program().bank.files;
                const bool exists = diagram ? !read_diagram(file, files).isNull()
                                            : read_exhibit(file, files.folder).has_value();
                if (exists && diagram) {
                    ++stats_.diagrams;
                    if (!program().windows.is_loaded<Diagram>() || !program().windows.get<Diagram>().isVisible())
                        fail(QStringLiteral("the diagram is not shown"));
                } else if (exists) {
                    ++stats_.exhibits;
                    if (!program().windows.is_loaded<Exhibit>() || !program().windows.get<Exhibit>().isVisible()
                        || (file == exhibit_file
                            && !ctl<TextLinesView>(program().windows.get<Exhibit>(), "Text1")->toPlainText().startsWith(
                                QLatin1String("port 1/1"))))
                        fail(QStringLiteral("the exhibit is not shown"));
                } else if (!diagram && program().windows.is_loaded<Exhibit>() != before.exhibit_loaded) {
                    fail(QStringLiteral("a missing exhibit file changed the exhibit window"));
                }
            }
        } else {
            fail(QStringLiteral("question %1 followed question %2").arg(state.current_question).arg(before.current));
        }
    } else if (before.window) {
        // The quiz is over and reported: finished, quit, or its window
        // closed, which quits it too.
        const bool quit = clicked_.contains(QStringLiteral("quest.quitquiz")) || action.label == QLatin1String("close quest");
        int right = before.right;
        std::vector<qint16> missed = before.missed;
        if (before.exam) {
            // Submitted, or out of time: everything marked at once.
            ++stats_.exams;
            right = 0;
            missed.clear();
            for (const LoggedAnswer &answer : before.exam_marked) {
                right += answer.right;
                if (!answer.right)
                    missed.push_back(answer.bank_index);
            }
        } else if (quit) {
            ++stats_.quit;
        } else {
            ++stats_.finished;
            if (before.current != before.total)
                fail(QStringLiteral("the quiz ended after question %1 of %2").arg(before.current).arg(before.total));
            expect_marking();
            right += before.would_be_right;
        }
        const int total = before.total;
        if (!before.exam && !quit && !before.would_be_right)
            missed.push_back(before.record_id);
        const int asked = before.exam && (quit || clicked_.contains(QStringLiteral("ExamSummary.submit_button")));
        const bool retried = check_after_result(before, missed);
        const QString line = QStringLiteral(" Right/Total  = %1/%2\nPercent Right = %3%\n").arg(right).arg(total).arg(right * 100 / total);
        if (new_messages != 1 + asked || h().messages.last().title != QLatin1String("Test Complete!")
            || !h().messages.last().text.contains(line))
            fail(QStringLiteral("after the quiz: %1 messages, the last \"%2\", expected \"%3\"")
                     .arg(new_messages).arg(h().messages.isEmpty() ? QString() : h().messages.last().text, line));
        if (!retried && (state.number_right != right || state.current_question != total))
            fail(QStringLiteral("the state after the quiz says %1 right of %2").arg(state.number_right).arg(state.current_question));
    } else if (window && clicked_.contains(QStringLiteral("ReviewWindow.retry_missed"))) {
        expect_retry(before.missed);
    } else if (window) {
        // A quiz has begun with the options as they were.
        ++stats_.quizzes;
        asked_ = {state.question_id};
        const std::array<bool, 4> flags = {state.show_when_right == 1, state.show_when_wrong == 1,
                                           state.random_question_order == 1, state.random_answer_order == 1};
        if (!before.options_loaded || !clicked_.contains(QStringLiteral("pick_a_quiz.Command1")))
            fail(QStringLiteral("a quiz began without \"Start the Quiz\""));
        else if (flags != std::array<bool, 4>{before.options_flags[0] && !before.options_exam, before.options_flags[1] && !before.options_exam,
                                              before.options_flags[2], before.options_flags[3]}
                 || state.quiz_number != before.options_quiz || state.exam_mode != int(before.options_exam))
            fail(QStringLiteral("the quiz did not take the options as set"));
        if (state.current_question != 1 || state.number_right != 0 || program().windows.loaded_count() != 1
            || new_messages != 0 || new_answers != 0)
            fail(QStringLiteral("the quiz did not start afresh: question %1, %2 right, %3 windows, %4 messages")
                     .arg(state.current_question).arg(state.number_right).arg(program().windows.loaded_count())
                     .arg(new_messages + new_answers));
        if (!state.random_question_order) {
            for (qint16 i = 1; i <= state.questions_per_quiz; ++i) {
                if (state.question_order.at(size_t(i)) != i)
                    fail(QStringLiteral("questions out of order without shuffling"));
            }
        }
        // Each quiz gets its own patience for quitting and closing.
        static const double quits[] = {0.003, 0.1, 1.0};
        static const double closes[] = {0.002, 0.03, 0.3};
        quit_weight_ = quits[below(3)];
        close_weight_ = closes[below(3)];
    } else if (before.review_loaded && !program().windows.is_loaded<ReviewWindow>()
               && (!program().windows.is_loaded<Welcome>() || !program().windows.get<Welcome>().isVisible())) {
        fail(QStringLiteral("the welcome window does not follow the review"));
    } else if (clicked_.contains(QStringLiteral("choosetest.openFile"))) {
        // The bank chosen is shown; one that cannot be read leaves the bank
        // in use, and a message says why.
        const bool chosen = !program().windows.is_loaded<choosetest>();
        if (new_messages != int(!chosen) || (!chosen && program().bank.test_title != before.bank_title)
            || !program().windows.is_loaded<Welcome>()
            || program().windows.get<Welcome>().windowTitle() != program().bank.test_title)
            fail(QStringLiteral("opening a bank file: %1 messages, the welcome window shows \"%2\"")
                     .arg(new_messages).arg(program().bank.test_title));
    } else if (!clicked_.filter(QStringLiteral(".keep_results")).isEmpty()) {
        // Unticking "Keep my results" asks before it deletes them; ticking asks nothing.
        const bool kept = program().history.is_on();
        if (new_messages > 1 || (!kept && new_messages != 1) || new_answers != 0)
            fail(QStringLiteral("keeping results: %1 messages, results %2 kept")
                     .arg(new_messages).arg(kept ? "" : "not"));
    } else if (new_messages != 0 || new_answers != 0) {
        fail(QStringLiteral("a message outside a quiz"));
    }
    // Only Exit or closing the welcome window ends the program.
    if (program().windows.loaded_count() == 0 && !clicked_.contains(QStringLiteral("Welcome.Command1"))
        && !clicked_.contains(QStringLiteral("choosetest.Command3")) && action.label != QLatin1String("close Welcome"))
        fail(QStringLiteral("the program ended on \"%1\"").arg(action.label));

    if (action.label.startsWith(QLatin1String("close ")))
        ++stats_.closes;
    // Declining to delete the results leaves "Keep my results" ticked.
    const bool kept_on_no = button == QLatin1String("keep_results") && !h().ask_answer;
    if (action.button && action.button->isVisible() && action.button->isCheckable() && !kept_on_no) {
        // A click that landed: radio buttons are chosen, other buttons toggle.
        const bool radio = qobject_cast<QRadioButton *>(action.button.data()) != nullptr;
        if (radio ? !action.button->isChecked() : action.button->isChecked() == before.button_checked)
            fail(QStringLiteral("clicking %1 left it %2").arg(button, action.button->isChecked() ? "on" : "off"));
    }
}

void SoakTest::random_actions()
{
    bool ok = false;
    const quint32 seed = qEnvironmentVariable("SOAK_SEED").toUInt(&ok);
    const quint32 used_seed = ok ? seed : default_seed;
    const int env_actions = qEnvironmentVariableIntValue("SOAK_ACTIONS", &ok);
    const int count = ok && env_actions > 0 ? env_actions : default_actions;
    const bool trace = qEnvironmentVariableIntValue("SOAK_TRACE") == 1;
    qInfo("soak: seed %u, %d actions", used_seed, count);
    rng_.seed(used_seed);

    QElapsedTimer timer;
    timer.start();
    start_program(true);
    QStringList trail;
    QVERIFY2(failure_.isEmpty(), qPrintable(failure_));

    for (int index = 0; index < count; ++index) {
        std::vector<Action> actions = possible_actions();
        QVERIFY2(!actions.empty(), qPrintable(QStringLiteral("seed %1, action %2: nothing to do").arg(used_seed).arg(index)));
        double sum = 0;
        for (const Action &action : actions)
            sum += action.weight;
        double pick = uniform() * sum;
        size_t chosen = 0;
        while (chosen + 1 < actions.size() && pick >= actions[chosen].weight)
            pick -= actions[chosen++].weight;
        const Action &action = actions[chosen];

        trail << QStringLiteral("%1: %2").arg(index).arg(action.label);
        if (trail.size() > 12)
            trail.removeFirst();
        if (trace) {
            // Straight to stderr, so that the last line stands even after a crash.
            std::fprintf(stderr, "soak %d: %s\n", index, qPrintable(action.label));
            std::fflush(stderr);
        }

        static const ResultChoice choices[] = {ResultChoice::ok, ResultChoice::review, ResultChoice::retry_missed};
        h().result_choice = choices[below(3)];
        h().ask_answer = uniform() < 0.7;
        const Before before = snapshot(action);
        {
            // Which buttons the action clicks, whether by mouse or by key.
            clicked_.clear();
            QObject listener;
            for (QWidget *window : program().windows.loaded_windows()) {
                for (QAbstractButton *button : window->findChildren<QAbstractButton *>()) {
                    const QString name = class_of(window) + QLatin1Char('.') + button->objectName();
                    connect(button, &QAbstractButton::clicked, &listener, [this, name] { clicked_ << name; });
                }
            }
            action.run();
        }
        QuizHarness::settle();
        dress_bank(program().bank);
        check(before, action);

        if (failure_.isEmpty() && program().windows.loaded_count() == 0)
            start_program(uniform() < 0.5);

        QVERIFY2(failure_.isEmpty(),
                 qPrintable(QStringLiteral("seed %1, action %2 of %3: %4\n   replay with SOAK_SEED=%1 SOAK_ACTIONS=%5 "
                                           "SOAK_TRACE=1\n   last actions:\n      %6")
                                .arg(used_seed).arg(index).arg(count).arg(failure_).arg(index + 1)
                                .arg(trail.join(QStringLiteral("\n      ")))));
    }

    qInfo("soak: %d actions in %lld ms: %d program runs, %d quizzes (%d finished, %d quit), %d answers marked "
          "(%d right, %d typed, %d matching), %d answer windows, %d clues, %d diagrams, %d exhibits, %d windows closed, "
          "%d reviews, %d retries, %d exams",
          count, timer.elapsed(), stats_.runs, stats_.quizzes, stats_.finished, stats_.quit, stats_.markings,
          stats_.marked_right, stats_.typed_marked, stats_.matching_marked, stats_.answer_windows, stats_.clues, stats_.diagrams,
          stats_.exhibits, stats_.closes, stats_.reviews, stats_.retries, stats_.exams);
    if (count >= default_actions) {
        QVERIFY(stats_.quizzes > 0);
        QVERIFY(stats_.markings > 0);
    }
}

QTEST_MAIN(SoakTest)
#include "test_soak.moc"
