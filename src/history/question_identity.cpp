#include "history/question_identity.h"

#include "bank/question_bank.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QIODevice>

namespace {

// Fields are written length-prefixed by QDataStream at a fixed version, so
// no two different records serialize alike.
template<typename Array>
void write_all(QDataStream &out, const Array &values)
{
    for (const auto &value : values)
        out << value;
}

void write_asked(QDataStream &out, const question_record &record)
{
    out << record.question << record.question_type;
    write_all(out, record.answers);
    write_all(out, record.correct);
    write_all(out, record.diagrams);
    write_all(out, record.exhibits);
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
            write_all(out, record.answer_feedback);
        }
    });
}
