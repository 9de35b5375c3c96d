#include "gui/welcome.h"

#include "bank/bank_loaders.h"
#include "gui/centering.h"
#include "gui/choosetest.h"
#include "gui/diagram.h"
#include "gui/exhibit.h"
#include "gui/pick_a_quiz.h"
#include "gui/pictures.h"
#include "app/program.h"
#include "quiz/question_order.h"
#include "gui/quest.h"
#include "ui_pick_a_quiz.h"
#include "ui_welcome.h"

#include <QApplication>
#include <QShortcut>

Welcome::Welcome(Program &program) : program_(program)
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
    if (program_.chosen_bank)
        program_.bank = *program_.chosen_bank;
    else
        fill_question_bank(program_.bank);
    // When the welcome window comes back after a quiz, this closes that
    // quiz's question window.
    program_.windows.unload<quest>();
    setCursor(Qt::WaitCursor);
    ui().test_name->setText(program_.bank.test_title);
    ui().test_name->setCursorPosition(0);  // a long title shows its start
    setWindowTitle(program_.bank.test_title);
    ui().author_name2->setText(program_.bank.author_email);
    ui().author_name2->setCursorPosition(0);
    program_.state.questions_per_quiz = questions_in_quiz(1, program_.bank.total_questions);
    unsetCursor();
    center_window(*this);
    setVisible(true);
    ui().Start_Quiz->setFocus();
}

void Welcome::Start_Quiz_Click()
{
    auto &options = program_.windows.get<pick_a_quiz>();
    center_window(options);
    options.setVisible(true);
    options.ui().Command1->setFocus();
    setVisible(false);
}

void Welcome::Command1_Click()
{
    program_.windows.end_program();
}

void Welcome::bankButton_Click()
{
    auto &chooser = program_.windows.get<choosetest>();
    center_window(chooser);
    chooser.show();
    chooser.raise();
    chooser.activateWindow();
}

void Welcome::Form_Unload()
{
    program_.windows.unload<quest>();
    program_.windows.unload<pick_a_quiz>();
    program_.windows.unload<Exhibit>();
    program_.windows.unload<choosetest>();
    program_.windows.unload<Diagram>();
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
