#include "gui/exam_summary.h"

#include "quiz/exam_session.h"
#include "ui_exam_summary.h"

#include <QShortcut>

namespace {
constexpr int grid_columns = 7;
}

ExamSummary::ExamSummary(Program &)
{
    setWindowModality(Qt::ApplicationModal);
    connect(ui().submit_button, &QPushButton::clicked, this, [this] { submit_(); });
    connect(ui().return_button, &QPushButton::clicked, this, &QWidget::close);
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this, &QWidget::close);
}

ExamSummary::~ExamSummary() = default;

void ExamSummary::show_session(const ExamSession &session, std::function<void(int)> jump, std::function<void()> submit)
{
    jump_ = std::move(jump);
    submit_ = std::move(submit);
    ui().counts->setText(tr("%1 questions: %2 answered, %3 unanswered, %4 flagged.")
                             .arg(session.count())
                             .arg(session.count() - session.unanswered_count())
                             .arg(session.unanswered_count())
                             .arg(session.flagged_count()));
    for (QPushButton *button : buttons_) {
        if (button)
            button->deleteLater();
    }
    buttons_.assign(size_t(session.count()) + 1, nullptr);
    for (int p = 1; p <= session.count(); ++p) {
        const bool answered = session.answer(p).answered;
        const QString state = answered ? tr("answered") : tr("unanswered");
        const QString flag = session.flagged(p) ? tr("flagged") : QString();
        auto *button = new QPushButton(QStringLiteral("%1\n%2\n%3").arg(p).arg(state, flag), ui().grid_holder);
        button->setObjectName(QStringLiteral("position_%1").arg(p));
        button->setAccessibleName(tr("Question %1, %2 %3").arg(p).arg(state, flag).trimmed());
        button->setAutoDefault(true);  // Enter on the focused question goes to it
        QFont font = button->font();
        font.setBold(!answered);
        button->setFont(font);
        connect(button, &QPushButton::clicked, this, [this, p] { jump_(p); });
        ui().grid->addWidget(button, (p - 1) / grid_columns, (p - 1) % grid_columns);
        buttons_[size_t(p)] = button;
    }
    ui().submit_button->setFocus();
}

QPushButton *ExamSummary::position_button(int position) const
{
    return buttons_.at(size_t(position));
}
