#include "gui/results_window.h"

#include "bank/question_bank.h"
#include "gui/accessible_window.h"
#include "gui/history_actions.h"
#include "gui/window_services.h"
#include "history/attempts_model.h"
#include "history/history_store.h"
#include "history/results_summary.h"
#include "quiz/marking.h"
#include "ui_results_window.h"

#include <QDir>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QShortcut>

namespace {

QString percent_text(int percent)
{
    return QStringLiteral("%1%").arg(percent);
}

// The topic columns that hold numbers (1..4) are aligned right.
void align_numbers(QTreeWidgetItem &row)
{
    for (int column = 1; column <= 4; ++column)
        row.setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
}

// Widths from the first rows only: rows look alike, and measuring ten years
// of attempts took longer than reading them.
void fit_columns(QTreeView &view)
{
    view.header()->setResizeContentsPrecision(100);
    for (int column = 0; column < view.model()->columnCount(); ++column)
        view.resizeColumnToContents(column);
}

} // namespace

ResultsWindow::ResultsWindow(WindowServices &services)
    : bank_(services.bank), history_(services.history), modal_(services.modal), attempts_(new AttemptsModel(this))
{
    // On the state, not the click: a screen reader's toggle action ticks
    // the box without clicking it.
    connect(ui().keep_results, &QCheckBox::toggled, this, &ResultsWindow::keepResultsChanged);
    connect(ui().close_button, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    // In the order of the screen. Set here, not in the .ui file: there each
    // page's table was ordered after the tab widget, which Qt reads as after
    // the last control on its pages, and Tab went round keep_results and the
    // tab bar only. The tab widget stands for its tab bar and pages.
    setTabOrder(ui().keep_results, ui().tabs);
    setTabOrder(ui().tabs, ui().close_button);
    ui().attempts->setModel(attempts_);
    // Each table reads its current row as it takes the focus.
    read_current_row_on_focus(*ui().attempts);
    read_current_row_on_focus(*ui().topics);
    align_numbers(*ui().topics->headerItem());
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::Form_Load()
{
    setWindowTitle(tr("Results - %1").arg(bank_.test_title));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableSize() * 9 / 10));
    refresh();
}

void ResultsWindow::refresh()
{
    HistoryStore &history = history_;
    {
        const QSignalBlocker quiet(ui().keep_results);
        ui().keep_results->setChecked(history.is_on());
    }
    if (!history.is_on()) {
        show_nothing_kept();
        return;
    }
    const QString bank = bank_.test_title;
    std::vector<AttemptSummary> attempts = history.attempts(bank);
    const std::vector<TopicTrend> trends = topic_trends(attempts, history.topic_results(bank));
    tell_history_notice(history_, modal_, this);

    ui().status->setText(attempts.empty()
        ? tr("Your results are kept in %1. None yet for this test: they are saved at the end of every quiz.")
              .arg(QDir::toNativeSeparators(history.path()))
        : tr("Your results are kept in %1.").arg(QDir::toNativeSeparators(history.path())));

    std::vector<ScoreChart::Point> points;
    points.reserve(attempts.size());
    for (const AttemptSummary &attempt : attempts)
        points.push_back({attempt.ended, percent_right(attempt.right, attempt.asked)});
    ui().chart->set_points(std::move(points));
    attempts_->set_attempts(std::move(attempts));

    QList<QTreeWidgetItem *> rows;
    for (const TopicTrend &trend : trends) {
        auto *row = new QTreeWidgetItem({trend.topic.isEmpty() ? tr("General") : trend.topic,
                                         QStringLiteral("%1/%2").arg(trend.right).arg(trend.asked),
                                         percent_text(trend.percent()),
                                         trend.earlier_percent ? percent_text(*trend.earlier_percent) : QString(),
                                         percent_text(trend.recent_percent), trend_text(trend)});
        align_numbers(*row);
        rows.append(row);
    }
    ui().topics->clear();
    ui().topics->addTopLevelItems(rows);
    name_cells_with_headers(*ui().topics);
    fit_columns(*ui().attempts);
    fit_columns(*ui().topics);
}

void ResultsWindow::show_nothing_kept()
{
    ui().status->setText(tr("Your results are not kept. Tick the box to keep them on this computer from the next quiz on."));
    ui().chart->set_points({});
    attempts_->set_attempts({});
    ui().topics->clear();
}
