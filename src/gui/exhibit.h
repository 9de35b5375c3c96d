#pragma once

#include "gui/designed_window.h"

#include <QWidget>

namespace Ui { class Exhibit; }
struct WindowServices;

// A text exhibit of the question on screen, beside the question window.
class Exhibit : public DesignedWindow<QWidget, Ui::Exhibit>
{
    Q_OBJECT

public:
    explicit Exhibit(WindowServices &services);
    ~Exhibit() override;

    void show_text(const QString &text);
    void Command1_Click()
    {
        hide();
        emit closed();
    }

signals:
    // Closed with its button or Escape: it stays loaded, hidden.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
};
