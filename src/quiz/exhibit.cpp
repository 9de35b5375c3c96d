#include "exhibit.h"

#include "focus_redirect.h"
#include "ui_exhibit.h"

#include <QFontDatabase>
#include <QKeyEvent>

Exhibit::Exhibit(Program &)
{
    // Exhibits are listings and tables: columns line up in a fixed-pitch font.
    ui().Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Text1_GotFocus: the exhibit is read-only in effect.
    new FocusRedirect(*ui().Text1, *ui().Command1);
    connect(ui().Command1, &QPushButton::clicked, this, &Exhibit::Command1_Click);
}

Exhibit::~Exhibit() = default;

void Exhibit::show_text(const QString &text)
{
    ui().Text1->setPlainText(text);
}

void Exhibit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        Command1_Click();
    else
        QWidget::keyPressEvent(event);
}
