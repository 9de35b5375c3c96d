#include "results_window.h"

#include "history_actions.h"
#include "marking.h"
#include "pick_a_quiz.h"
#include "program.h"
#include "results_summary.h"
#include "ui_results_window.h"

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLocale>
#include <QScreen>
#include <QShortcut>

namespace {

QString duration_text(qint64 ms)
{
    const qint64 seconds = std::max<qint64>(0, ms / 1000);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString percent_text(int percent)
{
    return QStringLiteral("%1%").arg(percent);
}

// The columns that hold numbers, aligned right in the header and the rows.
constexpr std::pair<int, int> attempt_numbers{3, 5}, topic_numbers{1, 4};

void align_numbers(QTreeWidgetItem &row, std::pair<int, int> columns)
{
    for (int column = columns.first; column <= columns.second; ++column)
        row.setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

// Widths from the first rows only: rows look alike, and measuring ten years
// of attempts took longer than reading them.
void fit_columns(QTreeWidget &tree)
{
    tree.header()->setResizeContentsPrecision(100);
    for (int column = 0; column < tree.columnCount(); ++column)
        tree.resizeColumnToContents(column);
}

} // namespace

ResultsWindow::ResultsWindow(Program &program) : program_(program)
{
    connect(ui().keep_results, &QCheckBox::clicked, this, &ResultsWindow::keep_results_Click);
    connect(ui().close_button, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    align_numbers(*ui().attempts->headerItem(), attempt_numbers);
    align_numbers(*ui().topics->headerItem(), topic_numbers);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::Form_Load()
{
    setWindowTitle(tr("Results - %1").arg(program_.bank.test_title));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableSize() * 9 / 10));
    refresh();
}

void ResultsWindow::refresh()
{
    HistoryStore &history = program_.history;
    ui().keep_results->setChecked(history.is_on());
    if (!history.is_on()) {
        show_nothing_kept();
        return;
    }
    const QString bank = program_.bank.test_title;
    const std::vector<AttemptSummary> attempts = history.attempts(bank);
    const std::vector<TopicTrend> trends = topic_trends(attempts, history.topic_results(bank));
    tell_history_notice(program_, this);

    ui().status->setText(attempts.empty()
        ? tr("Your results are kept in %1. None yet for this test: they are saved at the end of every quiz.")
              .arg(QDir::toNativeSeparators(history.path()))
        : tr("Your results are kept in %1.").arg(QDir::toNativeSeparators(history.path())));

    std::vector<ScoreChart::Point> points;
    points.reserve(attempts.size());
    QList<QTreeWidgetItem *> rows;
    const QLocale locale;
    for (const AttemptSummary &attempt : attempts) {
        const int percent = percent_right(attempt.right, attempt.asked);
        points.push_back({attempt.ended, percent});
        auto *row = new QTreeWidgetItem({locale.toString(attempt.ended.toLocalTime(), QLocale::ShortFormat),
                                         quiz_name(attempt.quiz),
                                         attempt.mode == QuizMode::exam ? tr("Exam") : tr("Practice"),
                                         QStringLiteral("%1/%2").arg(attempt.right).arg(attempt.asked),
                                         percent_text(percent), duration_text(attempt.started.msecsTo(attempt.ended))});
        align_numbers(*row, attempt_numbers);
        rows.append(row);
    }
    ui().chart->set_points(std::move(points));
    ui().attempts->clear();
    ui().attempts->addTopLevelItems(rows);

    rows.clear();
    for (const TopicTrend &trend : trends) {
        auto *row = new QTreeWidgetItem({trend.topic.isEmpty() ? tr("General") : trend.topic,
                                         QStringLiteral("%1/%2").arg(trend.right).arg(trend.asked),
                                         percent_text(trend.percent()),
                                         trend.earlier_percent ? percent_text(*trend.earlier_percent) : QString(),
                                         percent_text(trend.recent_percent), trend_text(trend)});
        align_numbers(*row, topic_numbers);
        rows.append(row);
    }
    ui().topics->clear();
    ui().topics->addTopLevelItems(rows);
    fit_columns(*ui().attempts);
    fit_columns(*ui().topics);
}

void ResultsWindow::show_nothing_kept()
{
    ui().status->setText(tr("Your results are not kept. Tick the box to keep them on this computer from the next quiz on."));
    ui().chart->set_points({});
    ui().attempts->clear();
    ui().topics->clear();
}

void ResultsWindow::keep_results_Click(bool keep)
{
    keep_results(program_, this, keep);
    refresh();
    if (program_.windows.is_loaded<pick_a_quiz>())
        program_.windows.get<pick_a_quiz>().show_history();
}
