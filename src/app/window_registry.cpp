#include "app/window_registry.h"

#include <QEvent>
#include <QTimer>

WindowRegistry::~WindowRegistry()
{
    for (auto &[key, entry] : entries_)
        delete entry.widget.data();
}

QList<QWidget *> WindowRegistry::loaded_windows() const
{
    QList<QWidget *> windows;
    for (const auto &[key, entry] : entries_)
        windows << entry.widget.data();
    return windows;
}

void WindowRegistry::add(std::type_index key, QWidget *widget, Form *form)
{
    widget->installEventFilter(this);
    entries_[key] = Entry{widget, form, Stage::loading};
}

void WindowRegistry::finish_loading(std::type_index key)
{
    if (auto found = entries_.find(key); found != entries_.end() && found->second.stage == Stage::loading)
        found->second.stage = Stage::loaded;
}

void WindowRegistry::unload(std::type_index key)
{
    auto found = entries_.find(key);
    if (found == entries_.end() || found->second.stage != Stage::loaded)
        return;
    found->second.stage = Stage::unloading;
    const QPointer<QWidget> widget = found->second.widget;
    found->second.form->Form_Unload();
    if (widget)
        widget->hide();
    forget(key);
    if (widget && on_unloaded)
        on_unloaded(*widget);
}

void WindowRegistry::forget(std::type_index key)
{
    auto found = entries_.find(key);
    if (found == entries_.end())
        return;
    if (QWidget *widget = found->second.widget) {
        widget->removeEventFilter(this);
        widget->deleteLater();
    }
    entries_.erase(found);
    check_for_last_window();
}

void WindowRegistry::end_program()
{
    while (!entries_.empty()) {
        const std::type_index key = entries_.begin()->first;
        if (QWidget *widget = entries_.begin()->second.widget)
            widget->hide();
        forget(key);
    }
}

void WindowRegistry::check_for_last_window()
{
    if (!entries_.empty() || end_check_pending_)
        return;
    // A handler may unload every window and then open the next one (the
    // options window does), so decide only once control is back in the loop.
    end_check_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        end_check_pending_ = false;
        if (entries_.empty())
            emit lastWindowUnloaded();
    });
}

bool WindowRegistry::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        for (const auto &[key, entry] : entries_) {
            if (entry.widget == watched) {
                if (entry.stage == Stage::loaded && !entry.form->Form_QueryUnload()) {
                    event->ignore();
                    return true;
                }
                const std::type_index closing = key;
                unload(closing);
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}
