#include "theanswer.h"

#include "design_fonts.h"
#include "focus_redirect.h"
#include "ui_theanswer.h"

#include <QFontDatabase>

theanswer::theanswer(Program &) : ui_(std::make_unique<Ui::theanswer>())
{
    ui_->setupUi(this);
    apply_design_point_sizes(*this);
    // A fixed-pitch font keeps the lettered answer lines aligned.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(9);
    ui_->Text1->setFont(fixed);
    ui_->Closeb->setDefault(true);
    // Text1_GotFocus: the text is read-only in effect.
    new FocusRedirect(*ui_->Text1, *ui_->Closeb);
    connect(ui_->Closeb, &QPushButton::clicked, this, &theanswer::Closeb_Click);
}

theanswer::~theanswer() = default;
