#pragma once

#include "app/window_registry.h"
#include "bank/question_bank.h"
#include "flow/quiz_session.h"
#include "gui/modal_seam.h"
#include "gui/window_services.h"
#include "history/history_store.h"
#include "quiz/clock.h"
#include "quiz/random_generator.h"

#include <memory>

// Everything one run of the program holds: the bank, the quiz session, the
// random generator, the clock, the results file, the way modal windows are
// shown and the windows; the navigator (app/navigator.h) opens and closes
// them. Tests make their own, with a modal seam that answers instead of
// blocking.
class Program
{
public:
    explicit Program(ModalSeam modal = ModalSeam::interactive());
    Program(const Program &) = delete;
    Program &operator=(const Program &) = delete;

    QuestionBank bank;
    // The bank chosen from a file, put in place of the built-in bank each
    // time the welcome window loads; null: the built-in bank, filled afresh.
    std::shared_ptr<const QuestionBank> chosen_bank;
    Clock clock = steady_clock();
    RandomGenerator random;
    ModalSeam modal;
    // Modal windows open at this moment, through modal.
    int open_modals = 0;
    HistoryStore history{HistoryStore::default_path()};  // on when its file exists; opened on first use
    QuizSession session{bank, random, [this] { return clock(); }};
    WindowServices services{bank, session, history, modal};
    WindowRegistry windows{services};
};
