#include "gui/theanswer.h"

#include "gui/focus_redirect.h"
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
    // Text1_GotFocus: the text is read-only in effect.
    new FocusRedirect(*ui().Text1, *ui().Closeb);
    connect(ui().Closeb, &QPushButton::clicked, this, &theanswer::Closeb_Click);
    // It opens centred, its Close button often right over NEXT: the second
    // click of a double-click on NEXT must not close it unread.
    new InputGrace(*this, 300);
}

theanswer::~theanswer() = default;
