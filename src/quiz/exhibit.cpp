#include "exhibit.h"

#include "focus_redirect.h"
#include "ui_exhibit.h"

#include <QFontDatabase>
#include <QKeyEvent>

Exhibit::Exhibit(Program &) : ui_(std::make_unique<Ui::Exhibit>())
{
    ui_->setupUi(this);
    // Exhibits are listings and tables: columns line up in a fixed-pitch font.
    ui_->Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Text1_GotFocus: the exhibit is read-only in effect.
    new FocusRedirect(*ui_->Text1, *ui_->Command1);
    connect(ui_->Command1, &QPushButton::clicked, this, &Exhibit::Command1_Click);
}

Exhibit::~Exhibit() = default;

void Exhibit::show_text(const QString &text)
{
    ui_->Text1->setPlainText(text);
}

void Exhibit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        Command1_Click();
    else
        QWidget::keyPressEvent(event);
}
