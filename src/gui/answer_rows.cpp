#include "gui/answer_rows.h"

#include "gui/colour_contrast.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

// Two lines of the answer font fill the catalogued box but for 3 pixels,
// so the text sits 1 pixel from its edges instead of the usual 4.
constexpr qreal kAnswerMargin = 1;

// Pressed: the palette's highlight, darkened or lightened until it stands
// at least 4.5:1 against the unpressed face (which a style may shade a
// little lighter or darker), with a sunken edge.
QString pressed_letter_style(const QPalette &palette)
{
    const QColor face = palette.color(QPalette::Button);
    const QColor pressed = with_contrast(palette.color(QPalette::Highlight), face, 4.5);
    const QColor text = contrast_ratio(pressed, Qt::white) >= contrast_ratio(pressed, Qt::black) ? QColor(Qt::white)
                                                                                                : QColor(Qt::black);
    return QStringLiteral("QPushButton:checked { background-color: %1; color: %2; border: 3px inset %3; }")
        .arg(pressed.name(), text.name(), pressed.darker(150).name());
}

} // namespace

AnswerRows::AnswerRows(QWidget &window, const Boxes &boxes, const Letters &letters, QPushButton &next)
    : QObject(&window), boxes_(boxes), letters_(letters), next_(next)
{
    const QString pressed = pressed_letter_style(window.palette());
    for (size_t p = 1; p <= max_answers && boxes_[p]; ++p) {
        QPlainTextEdit *box = boxes_[p];
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        box->document()->setDocumentMargin(kAnswerMargin);
        box->installEventFilter(this);
        box->viewport()->installEventFilter(this);
        letters_[p]->setStyleSheet(pressed);
    }
}

bool AnswerRows::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress) {
        const auto &key = static_cast<QKeyEvent &>(*event);
        const auto *box = qobject_cast<QPlainTextEdit *>(watched);
        if (box && !box->isReadOnly() && (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter)
            && !(key.modifiers() & Qt::ShiftModifier)) {
            next_.click();
            return true;
        }
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return QObject::eventFilter(watched, event);
    for (size_t p = 1; p <= max_answers && boxes_[p]; ++p) {
        if (boxes_[p]->viewport() != watched || !boxes_[p]->isReadOnly() || letters_[p]->isHidden())
            continue;
        // Like a button: the click counts when the left button is released
        // over the text; the text itself is neither selected nor focused.
        const auto &mouse = static_cast<QMouseEvent &>(*event);
        if (type == QEvent::MouseButtonRelease && mouse.button() == Qt::LeftButton
            && boxes_[p]->viewport()->rect().contains(mouse.position().toPoint())) {
            letters_[p]->setFocus(Qt::MouseFocusReason);
            letters_[p]->click();
        }
        return true;
    }
    return QObject::eventFilter(watched, event);
}
