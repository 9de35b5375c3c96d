#include "app/first_window.h"

#include "bank/formats/bank_choice.h"
#include "gui/centering.h"
#include "app/program.h"
#include "gui/welcome.h"

Welcome &open_first_window(Program &program, const QString &bank_file)
{
    OpenedBank opened;
    if (!bank_file.isEmpty())
        opened = open_bank_file(bank_file);
    program.chosen_bank = std::move(opened.bank);
    auto &welcome = program.windows.get<Welcome>();
    center_window(welcome);
    if (!opened.error.isEmpty())
        program.modal.message(&welcome, bank_message_title, opened.error);
    return welcome;
}
