#include "diagram.h"

#include "exhibit_file.h"
#include "proportional_resizer.h"
#include "ui_diagram.h"

#include <QFile>
#include <QImageReader>
#include <QKeyEvent>

QImage read_diagram(const QString &name)
{
    if (!is_readable_file(name))
        return {};
    // Read from the file opened here: given a name, the reader would try it
    // again with picture suffixes added.
    QFile file(local_file_path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QImageReader reader(&file);
    // Bound what one picture may cost before it is decoded.
    reader.setAllocationLimit(256);
    return reader.read();
}

Diagram::Diagram(Program &)
{
    new ProportionalResizer(*this);
    connect(ui().Command1, &QPushButton::clicked, this, &Diagram::Command1_Click);
}

Diagram::~Diagram() = default;

void Diagram::show_picture(const QImage &image)
{
    ui().Image1->setPixmap(QPixmap::fromImage(image));
    repaint();
}

void Diagram::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        Command1_Click();
    else
        QWidget::keyPressEvent(event);
}
