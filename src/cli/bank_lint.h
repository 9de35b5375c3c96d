#pragma once

#include "bank/formats/bank_formats.h"

// What an author wants to know about a bank beyond what its importer
// reports: warnings (skipped = false), each at the line where its question
// starts, or at line 0 when it concerns the whole bank. folder is where the
// bank's exhibit and diagram files belong: beside the bank file.
//   - the same question text twice;
//   - the right answers of one-right questions bunched on one letter;
//   - "Choose two" (three...) against the number of right answers;
//   - exhibit or diagram files that do not exist, diagrams that do not read
//     as pictures;
//   - answers too long for the answer box;
//   - a typed answer of stars alone at full credit, which accepts anything;
//   - more questions than the program opens from one bank;
//   - a lab whose start already meets its goals, whose reference solution
//     misses one, or with a command that does not parse (prove_lab()).
std::vector<BankProblem> lint_bank(const ImportedBank &bank, const QString &folder);

// Characters of an answer that the two-line answer box shows at its design
// size; longer answers are cut off on screen.
constexpr int answer_box_characters = 110;
