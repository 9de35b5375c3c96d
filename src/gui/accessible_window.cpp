#include "gui/accessible_window.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QWidget>

namespace {

const char *const kGaugeValue = "accessibleGaugeValue";

// A gauge: a progress bar from 0 to 100 that reads its value from the widget.
class AccessibleGauge : public QAccessibleWidget, public QAccessibleValueInterface
{
public:
    explicit AccessibleGauge(QWidget *widget) : QAccessibleWidget(widget, QAccessible::ProgressBar) {}

    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return widget()->property(kGaugeValue).toInt(); }
    void setCurrentValue(const QVariant &) override {}  // it shows the score: not to be set
    QVariant maximumValue() const override { return 100; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface *program_accessible(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->property(kGaugeValue).isValid())
        return new AccessibleGauge(widget);
    // Qt gives dialogs and main windows their roles; a plain top-level
    // widget would otherwise be a "filler" pane.
    if (widget->isWindow() && widget->windowType() == Qt::Window && !qobject_cast<QDialog *>(widget)
        && !qobject_cast<QMainWindow *>(widget))
        return new QAccessibleWidget(widget, QAccessible::Window);
    return nullptr;
}

} // namespace

void install_accessible_windows()
{
    // Qt asks the factory installed last first: installed again, this one
    // comes before the one QApplication installs for its own widgets.
    QAccessible::removeFactory(program_accessible);
    QAccessible::installFactory(program_accessible);
}

// Before any window is made.
Q_COREAPP_STARTUP_FUNCTION(install_accessible_windows)

void mark_as_gauge(QWidget &widget)
{
    install_accessible_windows();
    widget.setProperty(kGaugeValue, 0);
}

void set_gauge_value(QWidget &gauge, int percent)
{
    if (gauge.property(kGaugeValue).toInt() == percent)
        return;
    gauge.setProperty(kGaugeValue, percent);
    QAccessibleValueChangeEvent event(&gauge, percent);
    QAccessible::updateAccessibility(&event);
}

std::function<bool()> SightedFocusRedirect::screen_reader_running = &QAccessible::isActive;

SightedFocusRedirect::SightedFocusRedirect(QWidget &from, QWidget &to) : QObject(&from), to_(&to)
{
    from.installEventFilter(this);
    if (auto *text = qobject_cast<QPlainTextEdit *>(&from))
        text->setTextInteractionFlags(text->textInteractionFlags() | Qt::TextSelectableByKeyboard);
}

bool SightedFocusRedirect::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && to_) {
        const auto reason = static_cast<QFocusEvent &>(*event).reason();
        if (!screen_reader_running() || reason == Qt::MouseFocusReason)
            to_->setFocus(Qt::OtherFocusReason);
    }
    return QObject::eventFilter(watched, event);
}
