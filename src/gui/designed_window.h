#pragma once

#include "gui/design_fonts.h"
#include "gui/form.h"

#include <QPushButton>
#include <memory>

// A window built from its Qt Designer definition: Base is the Qt window
// class (QWidget or QDialog), Ui the class uic generates from the .ui file.
// It owns the generated controls, reached through ui(). Derived windows
// define their destructor where the generated header is included. In every
// window Enter presses the command button that has the focus.
template <class Base, class Ui>
class DesignedWindow : public Base, public Form
{
public:
    Ui &ui() { return *ui_; }

protected:
    DesignedWindow() : ui_(std::make_unique<Ui>())
    {
        ui_->setupUi(this);
        apply_design_point_sizes(*this);
        for (QPushButton *button : this->template findChildren<QPushButton *>())
            button->setAutoDefault(!button->isCheckable());
    }

private:
    std::unique_ptr<Ui> ui_;
};
