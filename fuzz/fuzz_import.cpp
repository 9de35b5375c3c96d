// libFuzzer target for one importer (FUZZ_FORMAT, set when it is built):
// any bytes must give questions and problems, never a crash, a hang or
// unbounded memory. What was read is written back in every format and read
// again, so the exporters are fuzzed as well.
#include "bank/formats/bank_formats.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const ImportedBank bank = import_bank(bytes, FUZZ_FORMAT);
    if (bank.questions.size() != bank.question_lines.size())
        __builtin_trap();
    const auto labs = size_t(std::count_if(bank.questions.begin(), bank.questions.end(), is_lab_question));
    for (BankFormat format : {BankFormat::Json, BankFormat::Aiken, BankFormat::Gift, BankFormat::MoodleXml}) {
        const ImportedBank again = import_bank(export_bank(bank, format), format);
        // Every exported question can be read back, except typed and
        // matching ones in Aiken, which has no place for them, and labs
        // outside JSON.
        const size_t kept = format == BankFormat::Json ? bank.questions.size() : bank.questions.size() - labs;
        if (format != BankFormat::Aiken && again.questions.size() != kept)
            __builtin_trap();
    }
    return 0;
}
