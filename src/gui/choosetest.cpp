#include "gui/choosetest.h"

#include "bank/formats/bank_choice.h"
#include "bank/bank_loaders.h"
#include "bank/data_paths.h"
#include "gui/modal_seam.h"
#include "gui/window_services.h"
#include "ui_choosetest.h"

#include <QApplication>
#include <QFileInfo>
#include <QKeyEvent>

namespace {

QString bank_caption(const QString &title, const QString &author)
{
    return author.isEmpty() ? title : QStringLiteral("%1\nby %2").arg(title, author);
}

} // namespace

choosetest::choosetest(WindowServices &services) : modal_(services.modal)
{
    // The welcome window waits while a bank is chosen.
    setWindowModality(Qt::ApplicationModal);
    QuestionBank builtin;
    fill_question_bank(builtin);
    ui().Command1->setText(bank_caption(builtin.test_title, builtin.author_email));
    const QString scenario_file = scenario_bank_file();
    ui().Command2->setVisible(!scenario_file.isEmpty());
    if (!scenario_file.isEmpty()) {
        scenario_ = open_bank_file(scenario_file);
        ui().Command2->setText(scenario_.bank
                                   ? bank_caption(scenario_.bank->test_title, scenario_.bank->author_email)
                                   : QFileInfo(scenario_file).fileName());
    }
    connect(ui().Command1, &QPushButton::clicked, this, &choosetest::Command1_Click);
    connect(ui().Command2, &QPushButton::clicked, this, &choosetest::Command2_Click);
    connect(ui().openFile, &QPushButton::clicked, this, &choosetest::openFile_Click);
    connect(ui().Command3, &QPushButton::clicked, this, &choosetest::Command3_Click);
}

choosetest::~choosetest() = default;

void choosetest::Command1_Click()
{
    emit bankChosen(nullptr);
}

void choosetest::Command2_Click()
{
    if (scenario_.bank)
        emit bankChosen(scenario_.bank);
    else
        modal_.message(this, bank_message_title, scenario_.error);
}

void choosetest::openFile_Click()
{
    const QString path = modal_.open_file(
        this, QStringLiteral("Open a question bank"),
        QStringLiteral("Question banks (*.gift *.xml *.txt *.json);;GIFT (*.gift *.txt);;Moodle XML (*.xml);;"
                       "Aiken (*.txt);;JSON (*.json);;All files (*)"));
    // The focus comes back to this button, not to the first of the window,
    // whether a file was chosen or not (a bank that cannot be read leaves
    // the window open).
    ui().openFile->setFocus(Qt::OtherFocusReason);
    if (!path.isEmpty())
        open_bank(path);
}

void choosetest::open_bank(const QString &path)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    OpenedBank opened = open_bank_file(path);
    QApplication::restoreOverrideCursor();
    if (opened.bank)
        emit bankChosen(std::move(opened.bank));
    else
        modal_.message(this, bank_message_title, opened.error);
}

void choosetest::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(event);
}
