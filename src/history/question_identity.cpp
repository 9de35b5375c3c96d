#include "history/question_identity.h"

#include "bank/question_bank.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

#include <algorithm>

namespace {

// Fields are written length-prefixed by QDataStream at a fixed version, so
// no two different records serialize alike.
template<typename Array>
void write_all(QDataStream &out, const Array &values)
{
    for (const auto &value : values)
        out << value;
}

// Slots 0..6 of an answer array, as results files have always hashed them;
// the slots past them only for a question with more than six answers, so
// that a question of six or fewer keeps the identity it had in files
// written before records held ten.
template<typename Array>
void write_answer_slots(QDataStream &out, const Array &values, bool more_than_six)
{
    for (size_t k = 0; k < (more_than_six ? values.size() : 7); ++k)
        out << values[k];
}

bool has_more_than_six(const question_record &record)
{
    return std::any_of(record.answers.begin() + 7, record.answers.end(),
                       [](const QString &answer) { return !answer.isEmpty(); });
}

void write_asked(QDataStream &out, const question_record &record)
{
    const bool more_than_six = has_more_than_six(record);
    out << record.question << record.question_type;
    write_answer_slots(out, record.answers, more_than_six);
    write_answer_slots(out, record.correct, more_than_six);
    write_all(out, record.diagrams);
    write_all(out, record.exhibits);
    // How an answer is marked, where a question says more than which are
    // right; written only when set, for the same reason.
    if (record.weighted)
        write_answer_slots(out, record.weights, true);
    if (record.case_sensitive)
        out << record.case_sensitive;
    if (is_numerical_question(record))
        write_answer_slots(out, record.tolerances, true);
    if (is_matching_question(record))
        write_answer_slots(out, record.matches, true);
}

// SHA-256 of what write puts out, cut to 128 bits: that tells edits apart
// with room to spare and keeps rows small.
template<typename Write>
QString hash_of(Write write)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    write(out);
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).left(16).toHex());
}

} // namespace

QString question_hash(const question_record &record)
{
    return hash_of([&](QDataStream &out) { write_asked(out, record); });
}

QString bank_hash(const QuestionBank &bank)
{
    return hash_of([&](QDataStream &out) {
        out << bank.test_title << bank.total_questions;
        for (int index = 1; index <= bank.total_questions; ++index) {
            const question_record &record = bank.at(index);
            write_asked(out, record);
            out << record.explanation << record.clue << record.answer_note << record.topic;
            write_answer_slots(out, record.answer_feedback, has_more_than_six(record));
        }
    });
}
