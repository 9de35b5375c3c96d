#pragma once

#include <QObject>
class QAbstractItemView;
class QTreeWidget;
#include <functional>
#include <QPointer>
#include <QWidget>

// What Qt does not expose by itself, for screen readers (AT-SPI on Linux):
// - a top-level window made from a plain QWidget has the role of a window
//   ("frame"), not of a pane ("filler"), so that Orca announces it as one;
// - a widget drawn as a gauge (mark_as_gauge) is a progress bar whose value
//   is the percentage set with set_gauge_value.
// Installed when the application starts; mark_as_gauge installs it again
// to come before the factory QApplication installs for Qt's own widgets.
void install_accessible_windows();

// Marks a widget as a gauge from 0 to 100. Call it before the widget is
// shown: Qt keeps the first accessible interface it makes for a widget.
void mark_as_gauge(QWidget &widget);
// The gauge's value, announced to assistive tools when it changes.
void set_gauge_value(QWidget &gauge, int percent);

// A label whose changes a screen reader says at once, wherever the focus
// is: an exam's warning, "Time is up". Its role is "notification" and its
// name its text. Qt 6.4 has no announcement event, and Orca says nothing of
// a description or name change that Qt 6.4 sends (it sends the object where
// Orca reads the new text); it does say a notification as it is shown.
// Call mark_as_notice before the label is shown.
void mark_as_notice(QWidget &label);
// Has a screen reader say the notice's text now: it is shown again to
// assistive tools (not on screen, where nothing changes).
void announce(QWidget &notice);
// How many times the notice was announced (for tests: without a platform
// accessibility bridge Qt passes no event on).
int times_announced(const QWidget &notice);

// A table or tree whose current row a screen reader reads as the view
// takes the focus (Qt tells of the row before the view, and Orca keeps the
// view): the row's cell is told as focused once the view is.
void read_current_row_on_focus(QAbstractItemView &view);
// Each cell of the tree's rows is read with its column's title ("Score:
// 50%"), the header's accessible text where it has one: call it once the
// rows are filled. Empty cells stay silent.
void name_cells_with_headers(QTreeWidget &tree);

// A read-only text that sighted use never keeps the focus on: whenever it
// gets the focus it passes it on to `to`. With a screen reader running, the
// focus stays when it comes by the keyboard (Tab) or from the reader, so
// that the text can be read line by line with the arrow keys; a click still
// passes it on. The text shows a caret to move while it has the focus.
class SightedFocusRedirect : public QObject
{
public:
    SightedFocusRedirect(QWidget &from, QWidget &to);

    // Whether a screen reader is running: QAccessible::isActive(), which
    // only a platform with an accessibility bridge makes true (tests set it).
    static std::function<bool()> screen_reader_running;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> to_;
};
