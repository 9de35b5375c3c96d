#pragma once

#include "bank/formats/bank_formats.h"

// What a conversion does so that GIFT and Moodle XML keep what they can of
// each question, and warnings (at the question's line, or naming the
// question when it has none) for what they cannot. folder is where the
// bank's exhibit and diagram files are: beside the bank file.
//   - an exhibit's text is added to the question text, as neither format
//     has a place for a text file;
//   - the answer note is added to the explanation, after which it is shown;
//   - GIFT has no clue: it goes into the explanation, with a warning;
//   - GIFT has no case flag: a typed question whose case matters is
//     written without it, with a warning;
//   - Moodle XML embeds the diagram files beside the bank as the question's
//     files, so that the platform imports them.
//   - a lab question is left out, with a warning naming it.
// JSON holds every field and is left as it is.
std::vector<BankProblem> fit_to_format(ImportedBank &bank, BankFormat format, const QString &folder);
