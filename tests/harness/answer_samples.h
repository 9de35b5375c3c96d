#pragma once

// A made-up answer log for benchmarks and screenshots: the bank's questions
// in turn, every third one answered wrong.
#include "app/program.h"

inline void fill_sample_log(Program &program, int questions)
{
    program.session.answers().clear();
    for (int n = 0; n < questions; ++n) {
        LoggedAnswer answer;
        answer.bank_index = qint16(n % program.bank.total_questions + 1);
        answer.shown = program.bank.at(answer.bank_index);
        for (size_t p = 1; p <= 6; ++p) {
            answer.choice.visible[p] = !answer.shown.answers[p].isEmpty();
            answer.choice.pressed[p] = (answer.shown.correct[p] == 1) != (n % 3 == 2 && p <= 2);
        }
        answer.typed = answer.shown.answers[n % 3 == 2 ? 6 : 1];
        answer.milliseconds = 20'000 + 1'000 * n;
        mark(answer);
        program.session.answers().add(std::move(answer));
    }
}
