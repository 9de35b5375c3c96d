#pragma once

#include "gui/form.h"

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <typeindex>

struct WindowServices;

// Gives each window on first reference, creating it and running its
// Form_Load, and unloads it: Form_Unload, hide, forget, deleteLater. A window
// is often unloaded while one of its own handlers is still running (the
// options window unloads the welcome window, which unloads the options
// window), so windows are never deleted directly, and a window that is being
// loaded or unloaded is left alone by any nested unload. The next reference
// after an unload creates a fresh window. Closing a window from its title
// bar unloads it, unless its Form_QueryUnload handles the close. When no
// window is loaded once control is back in the event loop,
// lastWindowUnloaded() is emitted. The navigator hears of every window made
// (before its Form_Load) and unloaded (after its Form_Unload).
class WindowRegistry : public QObject
{
    Q_OBJECT

public:
    explicit WindowRegistry(WindowServices &services) : services_(services) {}
    ~WindowRegistry() override;

    template <class W> W &get();
    template <class W> bool is_loaded() const { return entries_.count(typeid(W)) != 0; }
    template <class W> void unload() { unload(std::type_index(typeid(W))); }

    int loaded_count() const { return int(entries_.size()); }
    QList<QWidget *> loaded_windows() const;

    // Ends the program at once: every window is hidden and discarded without
    // its Form_Unload, and lastWindowUnloaded() follows.
    void end_program();

    std::function<void(QWidget &window)> on_created;
    std::function<void(QWidget &window)> on_unloaded;

signals:
    void lastWindowUnloaded();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum class Stage { loading, loaded, unloading };
    struct Entry {
        QPointer<QWidget> widget;
        Form *form = nullptr;
        Stage stage = Stage::loading;
    };

    void add(std::type_index key, QWidget *widget, Form *form);
    void finish_loading(std::type_index key);
    void unload(std::type_index key);
    void forget(std::type_index key);
    void check_for_last_window();

    WindowServices &services_;
    std::map<std::type_index, Entry> entries_;
    bool end_check_pending_ = false;
};

template <class W> W &WindowRegistry::get()
{
    const std::type_index key(typeid(W));
    if (auto found = entries_.find(key); found != entries_.end())
        return static_cast<W &>(*found->second.widget);
    auto *window = new W(services_);
    add(key, window, window);
    if (on_created)
        on_created(*window);
    window->Form_Load();
    finish_loading(key);
    return *window;
}
