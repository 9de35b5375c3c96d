#include "gui/theanswer.h"

#include "gui/accessible_window.h"
#include "gui/input_grace.h"
#include "ui_theanswer.h"

#include <QFontDatabase>

theanswer::theanswer(WindowServices &)
{
    // A fixed-pitch font keeps the lettered answer lines aligned.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(9);
    ui().Text1->setFont(fixed);
    ui().Closeb->setDefault(true);
    // Text1_GotFocus: the text is read-only in effect (for a screen
    // reader's user it stays, to be read line by line).
    new SightedFocusRedirect(*ui().Text1, *ui().Closeb);
    ui().Text1->setAccessibleName(tr("The answer"));
    connect(ui().Closeb, &QPushButton::clicked, this, &theanswer::Closeb_Click);
    // It opens centred, its Close button often right over NEXT: the second
    // click of a double-click on NEXT must not close it unread.
    new InputGrace(*this, 300);
}

theanswer::~theanswer() = default;

void theanswer::show_feedback(const QString &text)
{
    ui().Text1->setPlainText(text);
    // Close has the focus as the window opens: a screen reader says its
    // description, so the verdict, the right answers and the explanation
    // are heard at once.
    ui().Closeb->setAccessibleDescription(text.simplified());
}
