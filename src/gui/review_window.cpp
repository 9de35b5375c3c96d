#include "gui/review_window.h"

#include "bank/question_bank.h"
#include "flow/quiz_session.h"
#include "gui/accessible_window.h"
#include "gui/window_services.h"
#include "history/history_store.h"
#include "quiz/topic_scores.h"
#include "ui_review.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <QShortcut>

namespace {

// A white tick or cross on a green or red disc: it reads on light and dark
// backgrounds alike, and the row's word says the same for those who cannot
// tell the colours apart.
QPixmap verdict_pixmap(bool right, int size, qreal ratio)
{
    QPixmap pixmap(QSize(size, size) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(right ? QColor(0x2e, 0x7d, 0x32) : QColor(0xc6, 0x28, 0x28));
    painter.drawEllipse(QRectF(0.5, 0.5, size - 1.0, size - 1.0));
    painter.setPen(QPen(Qt::white, size / 8.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal s = size;
    if (right) {
        painter.drawPolyline(QPolygonF({{s * 0.27, s * 0.52}, {s * 0.44, s * 0.69}, {s * 0.74, s * 0.34}}));
    } else {
        painter.drawLine(QPointF(s * 0.32, s * 0.32), QPointF(s * 0.68, s * 0.68));
        painter.drawLine(QPointF(s * 0.68, s * 0.32), QPointF(s * 0.32, s * 0.68));
    }
    return pixmap;
}

QIcon verdict_icon(bool right)
{
    QIcon icon;
    for (qreal ratio : {1.0, 2.0}) {
        icon.addPixmap(verdict_pixmap(right, 16, ratio));
        icon.addPixmap(verdict_pixmap(right, 16, ratio), QIcon::Selected);  // not greyed on the selection
    }
    return icon;
}

} // namespace

ReviewWindow::ReviewWindow(WindowServices &services)
    : answers_(services.session.answers()), bank_(services.bank), history_on_(services.history.is_on())
{
    connect(ui().question_list, &QListWidget::currentRowChanged, this, &ReviewWindow::show_detail);
    for (QRadioButton *button : {ui().show_all, ui().show_wrong, ui().show_right}) {
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                fill_list();
        });
    }
    connect(ui().retry_missed, &QPushButton::clicked, this, &ReviewWindow::retry_missed_Click);
    // On the state, not the click: a screen reader's toggle action ticks
    // the box without clicking it.
    connect(ui().keep_results, &QCheckBox::toggled, this, &ReviewWindow::keepResultsChanged);
    connect(ui().close_button, &QPushButton::clicked, this, &QWidget::close);
    // Up and Down move through the list wherever the focus is but in the
    // score table; Escape closes.
    connect(new QShortcut(QKeySequence(Qt::Key_Up), this), &QShortcut::activated, this, [this] { move_selection(-1); });
    connect(new QShortcut(QKeySequence(Qt::Key_Down), this), &QShortcut::activated, this, [this] { move_selection(1); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
    // Each list and table reads its current row as it takes the focus.
    read_current_row_on_focus(*ui().question_list);
    read_current_row_on_focus(*ui().topic_scores);
    // The detail is a read-only text, read whole or line by line by a
    // screen reader (a text browser is only a label to it).
    ui().detail->installEventFilter(this);
}

ReviewWindow::~ReviewWindow() = default;

void ReviewWindow::Form_Load()
{
    setWindowTitle(QStringLiteral("Review - ") + bank_.test_title);
    show_keep_results(history_on_);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableSize() * 9 / 10));
    const int missed = answers_.missed_count();
    ui().retry_missed->setText(tr("Retry &missed (%1)").arg(missed));
    ui().retry_missed->setVisible(missed > 0);
    fill_topics();
    fill_list();
    // With a screen reader the detail has a caret, which the arrow keys
    // move line by line; sighted, it shows none, as a text browser.
    ui().detail->setTextInteractionFlags(SightedFocusRedirect::screen_reader_running()
                                             ? Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard
                                             : Qt::TextSelectableByMouse);
    ui().question_list->setFocus();
}

bool ReviewWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Up and Down move the list from anywhere; in the detail, while it has
    // a caret, they read it line by line instead.
    if (watched == ui().detail && event->type() == QEvent::ShortcutOverride &&
        (ui().detail->textInteractionFlags() & Qt::TextSelectableByKeyboard)) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ReviewWindow::show_keep_results(bool keep)
{
    const QSignalBlocker quiet(ui().keep_results);
    ui().keep_results->setChecked(keep);
}

ReviewFilter ReviewWindow::filter()
{
    if (ui().show_wrong->isChecked())
        return ReviewFilter::wrong;
    return ui().show_right->isChecked() ? ReviewFilter::right : ReviewFilter::all;
}

void ReviewWindow::fill_list()
{
    const std::vector<LoggedAnswer> &answers = answers_.answers();
    QListWidget &list = *ui().question_list;
    const int selected = list.currentRow() >= 0 ? rows_.at(size_t(list.currentRow())) : -1;
    rows_ = filtered_positions(answers, filter());
    const QIcon icons[] = {verdict_icon(false), verdict_icon(true)};
    list.clear();
    int row_to_select = 0;
    for (int row = 0; row < int(rows_.size()); ++row) {
        const LoggedAnswer &answer = answers[size_t(rows_[size_t(row)])];
        list.addItem(new QListWidgetItem(icons[answer.right ? 1 : 0], review_row_text(rows_[size_t(row)] + 1, answer)));
        if (rows_[size_t(row)] == selected)
            row_to_select = row;
    }
    if (rows_.empty())
        show_detail();
    else
        list.setCurrentRow(row_to_select);
}

void ReviewWindow::show_detail()
{
    const int row = ui().question_list->currentRow();
    if (row < 0 || row >= int(rows_.size())) {
        ui().detail->setPlainText(tr("No question matches this choice."));
    } else {
        const int position = rows_[size_t(row)];
        ui().detail->setHtml(review_detail_html(position + 1, answers_.answers()[size_t(position)]));
    }
}

void ReviewWindow::fill_topics()
{
    const std::vector<TopicScore> scores = score_by_topic(answers_.answers());
    QTreeWidget &tree = *ui().topic_scores;
    tree.clear();
    for (const TopicScore &score : scores) {
        auto *item = new QTreeWidgetItem(&tree, {score.topic, QStringLiteral("%1/%2").arg(score.right).arg(score.asked),
                                                 QStringLiteral("%1%").arg(score.percent())});
        item->setTextAlignment(1, Qt::AlignCenter);
        item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
        auto *bar = new QProgressBar;
        bar->setRange(0, score.asked);
        bar->setValue(score.right);
        bar->setTextVisible(false);
        bar->setAccessibleName(tr("%1: %2 percent right").arg(score.topic).arg(score.percent()));
        tree.setItemWidget(item, 3, bar);
        // The bar's cell, read with its row, says what the bar shows.
        item->setData(3, Qt::AccessibleTextRole, tr("%1%").arg(score.percent()));
    }
    for (int column = 0; column < 3; ++column)
        tree.resizeColumnToContents(column);
    tree.headerItem()->setData(2, Qt::AccessibleTextRole, tr("Percent right"));
    name_cells_with_headers(tree);
    // Tab reaches the table at its first row, which a screen reader reads.
    if (tree.topLevelItemCount() > 0)
        tree.setCurrentItem(tree.topLevelItem(0));
    const QString advice = topic_advice(scores);
    ui().advice->setText(advice);
    ui().advice->setVisible(!advice.isEmpty());
}

void ReviewWindow::move_selection(int step)
{
    // In the score table they go through its rows, so each is read.
    QTreeWidget &table = *ui().topic_scores;
    if (table.hasFocus() && table.topLevelItemCount() > 0) {
        const int row = std::clamp(table.indexOfTopLevelItem(table.currentItem()) + step, 0, table.topLevelItemCount() - 1);
        table.setCurrentItem(table.topLevelItem(row));
        return;
    }
    QListWidget &list = *ui().question_list;
    if (list.count() == 0)
        return;
    list.setCurrentRow(std::clamp(list.currentRow() + step, 0, list.count() - 1));
}

void ReviewWindow::retry_missed_Click()
{
    if (answers_.missed_count() > 0)
        emit retryRequested();
}
