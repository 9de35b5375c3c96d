#include "gui/accessible_window.h"

#include "gui/form.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

namespace {

const char *const kGaugeValue = "accessibleGaugeValue";
const char *const kNotice = "accessibleNotice";  // the times it was announced

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

// A notice: named by its text unless named otherwise.
class AccessibleNotice : public QAccessibleWidget
{
public:
    explicit AccessibleNotice(QWidget *widget) : QAccessibleWidget(widget, QAccessible::Notification) {}

    QString text(QAccessible::Text t) const override
    {
        QString text = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && text.isEmpty()) {
            if (auto *label = qobject_cast<QLabel *>(widget()))
                text = label->text();
        }
        return text;
    }
};

QAccessibleInterface *program_accessible(const QString &, QObject *object)
{
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget)
        return nullptr;
    if (widget->property(kGaugeValue).isValid())
        return new AccessibleGauge(widget);
    if (widget->property(kNotice).isValid())
        return new AccessibleNotice(widget);
    // A tab widget's pages are held in a stack that Qt calls a "layered
    // pane", which Orca names as the focus enters a page; it is only
    // layout, as the tab list says which page is shown.
    if (qobject_cast<QStackedWidget *>(widget) && qobject_cast<QTabWidget *>(widget->parentWidget()))
        return new QAccessibleWidget(widget, QAccessible::Client);
    // Qt gives dialogs and main windows their roles; the program's own
    // windows would otherwise be "filler" panes. Only they: a message box
    // makes its buttons without a parent, top-level for a moment, and the
    // role given then would stay with them.
    if (dynamic_cast<Form *>(widget) && !qobject_cast<QDialog *>(widget))
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

void mark_as_notice(QWidget &label)
{
    install_accessible_windows();
    label.setProperty(kNotice, 0);
    // An interface Qt made already (the label's text was set while a screen
    // reader ran) is dropped, so that the next one is the notice's.
    if (QAccessibleInterface *made = QAccessible::queryAccessibleInterface(&label);
        made && made->role() != QAccessible::Notification)
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
}

void announce(QWidget &notice)
{
    if (!notice.isVisible())
        return;
    notice.setProperty(kNotice, times_announced(notice) + 1);
    QAccessibleEvent shown(&notice, QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

int times_announced(const QWidget &notice)
{
    return notice.property(kNotice).toInt();
}

namespace {

// Tells assistive tools that the view's current cell has the focus.
void tell_current_cell(QAbstractItemView *view)
{
    const QModelIndex current = view->currentIndex();
    if (!view->hasFocus() || !current.isValid())
        return;
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(view);
    QAccessibleTableInterface *cells = table ? table->tableInterface() : nullptr;
    if (QAccessibleInterface *cell = cells ? cells->cellAt(current.row(), current.column()) : nullptr) {
        QAccessibleEvent focused(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&focused);
    }
}

class CurrentRowReader : public QObject
{
public:
    explicit CurrentRowReader(QAbstractItemView &view) : QObject(&view) { view.installEventFilter(this); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // After the focus event Qt sends for the view itself.
        if (event->type() == QEvent::FocusIn && QAccessible::isActive()) {
            QPointer<QAbstractItemView> view = static_cast<QAbstractItemView *>(watched);
            QTimer::singleShot(0, this, [view] {
                if (view)
                    tell_current_cell(view);
            });
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void read_current_row_on_focus(QAbstractItemView &view)
{
    new CurrentRowReader(view);
}

void name_cells_with_headers(QTreeWidget &tree)
{
    const QTreeWidgetItem *header = tree.headerItem();
    for (int row = 0; row < tree.topLevelItemCount(); ++row) {
        QTreeWidgetItem *item = tree.topLevelItem(row);
        for (int column = 0; column < tree.columnCount(); ++column) {
            const QString named = item->data(column, Qt::AccessibleTextRole).toString();
            const QString text = named.isEmpty() ? item->text(column) : named;
            const QString title = header->data(column, Qt::AccessibleTextRole).toString();  // for a title like "%"
            if (!text.isEmpty())
                item->setData(column, Qt::AccessibleTextRole,
                              QStringLiteral("%1: %2").arg(title.isEmpty() ? header->text(column) : title, text));
        }
    }
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
