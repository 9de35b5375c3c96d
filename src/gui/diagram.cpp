#include "gui/diagram.h"

#include "quiz/exhibit_file.h"
#include "gui/proportional_resizer.h"
#include "ui_diagram.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QKeyEvent>

namespace {

QImage read_picture(QIODevice &device)
{
    QImageReader reader(&device);
    // Bound what one picture may cost before it is decoded.
    reader.setAllocationLimit(256);
    return reader.read();
}

} // namespace

QImage read_diagram(const QString &name, const BankFiles &files)
{
    // An embedded picture is decoded from memory: nothing is written to disk.
    if (const auto embedded = files.pictures.constFind(name); embedded != files.pictures.cend()) {
        QBuffer buffer;
        buffer.setData(*embedded);
        buffer.open(QIODevice::ReadOnly);
        return read_picture(buffer);
    }
    if (!is_readable_file(name, files.folder))
        return {};
    // Read from the file opened here: given a name, the reader would try it
    // again with picture suffixes added.
    QFile file(local_file_path(name, files.folder));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return read_picture(file);
}

Diagram::Diagram(WindowServices &)
{
    connect(new ProportionalResizer(*this), &ProportionalResizer::resized, this, &Diagram::fit_picture);
    connect(ui().Command1, &QPushButton::clicked, this, &Diagram::Command1_Click);
}

Diagram::~Diagram() = default;

void Diagram::show_picture(const QImage &image, const QString &description)
{
    picture_ = image;
    ui().Image1->setAccessibleDescription(description);
    ui().Image1->setToolTip(description);
    fit_picture();
    repaint();
}

void Diagram::fit_picture()
{
    if (picture_.isNull())
        return;
    // Its natural size when it fits, else scaled down to fit, its shape
    // kept either way; the label centres it.
    const QSize box = ui().Image1->contentsRect().size();
    const QSize natural = picture_.size();
    if (natural.width() <= box.width() && natural.height() <= box.height()) {
        ui().Image1->setPixmap(QPixmap::fromImage(picture_));
        return;
    }
    const QSize shown = natural.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    // As many of the picture's own pixels as the screen has for that size,
    // so it stays sharp at 200%.
    const QSize pixels = (shown * devicePixelRatioF()).boundedTo(natural);
    QPixmap pixmap = QPixmap::fromImage(picture_.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(std::min(qreal(pixmap.width()) / shown.width(), qreal(pixmap.height()) / shown.height()));
    ui().Image1->setPixmap(pixmap);
}

void Diagram::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        Command1_Click();
    else
        QWidget::keyPressEvent(event);
}
