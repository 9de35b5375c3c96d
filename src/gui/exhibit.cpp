#include "gui/exhibit.h"

#include "ui_exhibit.h"

#include <QFontDatabase>
#include <QKeyEvent>

Exhibit::Exhibit(WindowServices &)
{
    // Exhibits are listings and tables: columns line up in a fixed-pitch font.
    ui().Text1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // The focus stays on the close button and the keys that scroll go to
    // the text; Tab reaches the text too (not a click), so a screen reader
    // can read it line by line. It is read-only: typing there does nothing.
    ui().Text1->setFocusPolicy(Qt::TabFocus);
    ui().Command1->installEventFilter(this);
    connect(ui().Command1, &QPushButton::clicked, this, &Exhibit::Command1_Click);
}

Exhibit::~Exhibit() = default;

void Exhibit::show_text(const QString &text)
{
    ui().Text1->setPlainText(text);
    // Each exhibit opens with the focus on the close button, the text one
    // Tab away.
    ui().Command1->setFocus(Qt::OtherFocusReason);
}

bool Exhibit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && ui().Text1->scroll_by_key(static_cast<QKeyEvent &>(*event)))
        return true;
    return QWidget::eventFilter(watched, event);
}

void Exhibit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        Command1_Click();
    else
        QWidget::keyPressEvent(event);
}
