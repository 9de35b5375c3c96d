#include "gui/modal_seam.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

ModalSeam ModalSeam::interactive()
{
    ModalSeam seam{[](QWidget *parent, const QString &title, const QString &text) {
                // No icon, and the text as written: a clue may hold "<b>".
                QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
                box.setTextFormat(Qt::PlainText);
                box.exec();
            },
            [](QDialog &dialog) { dialog.exec(); },
            [](QWidget *parent, const QString &title, const QString &text, int missed) {
                QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
                box.setTextFormat(Qt::PlainText);
                box.setDefaultButton(QMessageBox::Ok);
                box.setEscapeButton(QMessageBox::Ok);
                QAbstractButton *review = box.addButton(QObject::tr("&Review answers"), QMessageBox::ActionRole);
                QAbstractButton *retry = missed > 0
                    ? box.addButton(QObject::tr("Retry &missed (%1)").arg(missed), QMessageBox::ActionRole)
                    : nullptr;
                box.exec();
                if (box.clickedButton() == review)
                    return ResultChoice::review;
                return retry && box.clickedButton() == retry ? ResultChoice::retry_missed : ResultChoice::ok;
            },
            [](QWidget *parent, const QString &title, const QString &text) {
                QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Yes | QMessageBox::No, parent);
                box.setTextFormat(Qt::PlainText);
                box.setDefaultButton(QMessageBox::No);
                return box.exec() == QMessageBox::Yes;
            }};
    seam.open_file = [](QWidget *parent, const QString &caption, const QString &filters) {
        // Qt's file dialog keeps its history in QtProject.conf among the
        // user's settings, which no option turns off; the program keeps
        // nothing there, so it writes into a folder removed afterwards.
        const QTemporaryDir scratch;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, scratch.path());
        const QString file = QFileDialog::getOpenFileName(parent, caption, QString(), filters);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        return file;
    };
    return seam;
}
