#include "gui/matching_panel.h"

#include "gui/accessible_window.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QScrollBar>
#include <algorithm>

MatchingPanel::MatchingPanel(QWidget &window, const QRect &rows_area)
    : AnswerArea(window, rows_area, QStringLiteral("matching"), tr("Match each item"))
{
    // Said, not seen: Qt 6.4 gives a closed list no selection a screen
    // reader could read its new entry from.
    notice_ = new QLabel(this);
    notice_->setObjectName(QStringLiteral("matching_notice"));
    notice_->setGeometry(0, 0, 0, 0);
    mark_as_notice(*notice_);
}

void MatchingPanel::tell_choice(QComboBox &list, bool now)
{
    // The meaning given is read as the list takes the focus, and at once
    // when it changes.
    list.setAccessibleDescription(list.currentIndex() > 0 ? list.currentText() : tr("No meaning given"));
    if (!now)
        return;
    notice_->setText(tr("%1: %2").arg(list.accessibleName(), list.accessibleDescription()));
    announce(*notice_);
}

void MatchingPanel::show_question(const question_record &record, const QFont &font)
{
    auto *rows = new QWidget;
    rows->setFont(font);
    auto *grid = new QGridLayout(rows);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    offer_ = matching_offer(record);
    lists_.clear();
    for (int stem = 1; stem <= matching_stems(record); ++stem) {
        const QString &text = record.answers[size_t(stem)];
        auto *label = new QLabel(text, rows);
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
        auto *list = new QComboBox(rows);
        list->addItem(tr("(choose)"));
        for (int slot : offer_)
            list->addItem(record.matches[size_t(slot + 1)]);
        list->setAccessibleName(text.simplified());
        tell_choice(*list, false);
        connect(list, &QComboBox::activated, this, [this, list] { tell_choice(*list, true); });
        list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        list->setMinimumContentsLength(8);
        // The open list shows whole meanings, however narrow the box.
        list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) + 24);
        list->installEventFilter(this);
        label->setBuddy(list);
        grid->addWidget(label, stem - 1, 0, Qt::AlignVCenter);
        grid->addWidget(list, stem - 1, 1, Qt::AlignVCenter);
        if (!lists_.empty())
            setTabOrder(lists_.back(), list);
        lists_.push_back(list);
    }
    grid->setRowStretch(matching_stems(record), 1);
    setWidget(rows);  // the last question's rows go with their widget
    show();
    verticalScrollBar()->setValue(0);
}

MatchingAnswer MatchingPanel::matched() const
{
    MatchingAnswer matched;
    for (const QComboBox *list : lists_)
        matched.push_back(list->currentIndex() > 0 ? offer_[size_t(list->currentIndex() - 1)] : -1);
    return matched;
}

void MatchingPanel::set_matched(const MatchingAnswer &matched)
{
    for (size_t stem = 0; stem < lists_.size() && stem < matched.size(); ++stem) {
        const auto at = std::find(offer_.begin(), offer_.end(), matched[stem]);
        lists_[stem]->setCurrentIndex(at == offer_.end() ? 0 : int(at - offer_.begin()) + 1);
        tell_choice(*lists_[stem], false);
    }
}
