#include "gui/welcome.h"

#include "bank/question_bank.h"
#include "gui/centering.h"
#include "gui/pictures.h"
#include "gui/window_services.h"
#include "ui_welcome.h"

#include <QApplication>
#include <QShortcut>

Welcome::Welcome(WindowServices &services) : bank_(services.bank)
{
    ui().Image1->setPixmap(picture(Picture::banner));
    setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    connect(ui().Start_Quiz, &QPushButton::clicked, this, &Welcome::Start_Quiz_Click);
    connect(ui().Command1, &QPushButton::clicked, this, &Welcome::Command1_Click);
    connect(ui().bankButton, &QPushButton::clicked, this, &Welcome::bankButton_Click);
    connect(new QShortcut(QKeySequence::Open, this), &QShortcut::activated, this, &Welcome::bankButton_Click);
}

Welcome::~Welcome() = default;

void Welcome::Form_Load()
{
    setVisible(false);
    setCursor(Qt::WaitCursor);
    show_test();
    unsetCursor();
    center_window(*this);
    setVisible(true);
    ui().Start_Quiz->setFocus();
}

void Welcome::show_test()
{
    ui().test_name->setText(bank_.test_title);
    ui().test_name->setCursorPosition(0);  // a long title shows its start
    setWindowTitle(bank_.test_title);
    ui().author_name2->setText(bank_.author_email);
    ui().author_name2->setCursorPosition(0);
}

void Welcome::Form_Unload()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
