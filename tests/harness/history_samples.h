#pragma once

// Made-up attempts for the history tests, the writer they start and the
// benchmark: 51 answers over eleven topics, about two in three right.
#include "history/attempt_record.h"

inline AttemptRecord sample_attempt(int n, const QDateTime &ended, const QString &bank_title = QStringLiteral("Sample bank"))
{
    AttemptRecord attempt;
    attempt.bank_title = bank_title;
    attempt.bank_hash = QStringLiteral("bank-hash");
    attempt.quiz = n % 4 + 1;
    attempt.options = QStringLiteral("wrong questions answers");
    attempt.started = ended.addSecs(-600);
    attempt.ended = ended;
    for (int i = 0; i < 51; ++i) {
        const qint16 id = qint16(attempt.quiz + 4 * i);
        const bool right = (i * 7 + n) % 3 != 0;
        attempt.answers.push_back({id, QStringLiteral("q%1").arg(id), QStringLiteral("Topic %1").arg(i % 11),
                                   QStringLiteral("B"), right, 1000 + i});
        attempt.right += right ? 1 : 0;
    }
    attempt.asked = int(attempt.answers.size());
    return attempt;
}
