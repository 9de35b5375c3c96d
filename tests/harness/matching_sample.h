#pragma once

// A matching question for tests and screenshots: each 802.1D port state
// with the RSTP state it becomes. Two stems share a meaning, and the last
// meaning, "Flooding", pairs with none.
#include "bank/question_record.h"

#include <QStringList>

inline question_record port_states_matching()
{
    question_record record;
    record.question = QStringLiteral("Give each 802.1D port state the state it becomes in RSTP.");
    record.question_type = matching_type();
    const QStringList stems{"Blocking", "Listening", "Learning", "Forwarding"};
    const QStringList meanings{"Discarding", "Discarding", "Learning", "Forwarding", "Flooding"};
    for (int k = 0; k < meanings.size(); ++k) {
        record.answers[size_t(k + 1)] = stems.value(k);
        record.matches[size_t(k + 1)] = meanings[k];
    }
    return record;
}
