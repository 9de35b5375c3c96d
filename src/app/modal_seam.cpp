#include "modal_seam.h"

#include <QDialog>
#include <QMessageBox>

ModalSeam ModalSeam::interactive()
{
    return {[](QWidget *parent, const QString &title, const QString &text) {
                QMessageBox::information(parent, title, text, QMessageBox::Ok);
            },
            [](QDialog &dialog) { dialog.exec(); }};
}
