#include "choosetest.h"

#include "program.h"
#include "ui_choosetest.h"
#include "welcome.h"

choosetest::choosetest(Program &program) : program_(program)
{
    connect(ui().Command3, &QPushButton::clicked, this, &choosetest::Command3_Click);
}

choosetest::~choosetest() = default;

void choosetest::Command3_Click()
{
    program_.windows.unload<Welcome>();
    program_.windows.unload<choosetest>();
    program_.windows.end_program();
}
