#include "gui/welcome.h"

#include "bank/question_bank.h"
#include "gui/centering.h"
#include "gui/colour_contrast.h"
#include "gui/pictures.h"
#include "gui/window_services.h"
#include "ui_welcome.h"

#include <QApplication>
#include <QEvent>
#include <QShortcut>

Welcome::Welcome(WindowServices &services) : bank_(services.bank)
{
    ui().Image1->setPixmap(picture(Picture::banner));
    follow_palette();
    // The application hears of a new palette; this window has a palette of
    // its own, so it would not follow by itself.
    qApp->installEventFilter(this);
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

void Welcome::follow_palette()
{
    const QPalette chosen = QApplication::palette(this);
    const bool dark = chosen.color(QPalette::Window).lightness() < 128;
    const QColor background = dark ? chosen.color(QPalette::Window) : QColor(Qt::white);
    // The title and author boxes show the window's background; WCAG's 4.5:1
    // for normal text covers the large title as well.
    QPalette palette = chosen;
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::Base, background);
    palette.setColor(QPalette::WindowText, with_contrast(chosen.color(QPalette::WindowText), background, 4.5));
    palette.setColor(QPalette::Text, with_contrast(chosen.color(QPalette::Text), background, 4.5));
    setPalette(palette);
}

bool Welcome::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qApp && event->type() == QEvent::ApplicationPaletteChange)
        follow_palette();
    return QWidget::eventFilter(watched, event);
}

void Welcome::Form_Unload()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}
