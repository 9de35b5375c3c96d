#include "gui/exam_summary.h"

#include "quiz/exam_session.h"
#include "ui_exam_summary.h"

#include <QShortcut>

namespace {
constexpr int grid_columns = 7;
}

ExamSummary::ExamSummary(WindowServices &)
{
    setWindowModality(Qt::ApplicationModal);
    connect(ui().submit_button, &QPushButton::clicked, this, &ExamSummary::submitRequested);
    connect(ui().return_button, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

ExamSummary::~ExamSummary() = default;

void ExamSummary::show_session(const ExamSession &session)
{
    ui().counts->setText(tr("%1 questions: %2 answered, %3 unanswered, %4 flagged.")
                             .arg(session.count())
                             .arg(session.count() - session.unanswered_count())
                             .arg(session.unanswered_count())
                             .arg(session.flagged_count()));
    for (QPushButton *button : buttons_)
        button->deleteLater();
    buttons_.clear();
    for (int p = 0; p < session.count(); ++p) {
        const bool answered = session.answer(p).answered;
        const QString state = answered ? tr("answered") : tr("unanswered");
        const QString flag = session.flagged(p) ? tr("flagged") : QString();
        const int number = p + 1;
        auto *button = new QPushButton(QStringLiteral("%1\n%2\n%3").arg(number).arg(state, flag), ui().grid_holder);
        button->setObjectName(QStringLiteral("position_%1").arg(number));
        button->setAccessibleName(tr("Question %1, %2 %3").arg(number).arg(state, flag).trimmed());
        button->setAutoDefault(true);  // Enter on the focused question goes to it
        QFont font = button->font();
        font.setBold(!answered);
        button->setFont(font);
        connect(button, &QPushButton::clicked, this, [this, p] { emit goToRequested(p); });
        ui().grid->addWidget(button, p / grid_columns, p % grid_columns);
        buttons_.push_back(button);
    }
    // Tab goes as the window reads: the questions, then the buttons below
    // them (new buttons would otherwise come after Submit).
    QWidget *previous = nullptr;
    for (QWidget *next : buttons_) {
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
    if (previous)
        setTabOrder(previous, ui().return_button);
    setTabOrder(ui().return_button, ui().submit_button);
    ui().submit_button->setFocus();
}
