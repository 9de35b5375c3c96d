#pragma once

#include "quiz/answer_log.h"
#include "quiz/clock.h"
#include "history/history_store.h"
#include "gui/modal_seam.h"
#include "bank/question_bank.h"
#include "quiz/quiz_state.h"
#include "quiz/random_generator.h"
#include "app/window_registry.h"

#include <memory>

// Everything the windows share for one run: the bank, the quiz state, the
// random generator, the window registry and the way modal windows are shown.
// One instance lives for the whole run; every window gets a reference.
class Program
{
public:
    explicit Program(ModalSeam modal = ModalSeam::interactive()) : modal(std::move(modal)) {}
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    QuestionBank bank;
    // The bank chosen from a file, which the welcome window puts back into
    // bank each time it loads; null: the built-in bank, filled afresh.
    std::shared_ptr<const QuestionBank> chosen_bank;
    QuizState state;
    AnswerLog answers;           // the questions of the last quiz, as answered
    Clock clock = steady_clock();
    RandomGenerator random;
    ModalSeam modal;
    HistoryStore history{HistoryStore::default_path()};  // on when its file exists; opened on first use
    WindowRegistry windows{*this};
};
