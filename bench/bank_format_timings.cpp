// Importing a bank of 10,000 questions in each format, the median of
// repeated runs against the 300 ms target; then one question whose text is
// many short lines, in GIFT and in a Moodle plain_text question, at two
// sizes: the larger, twice as long, should take about twice as long.
//
//   bench_bank_formats [RUNS [FORMAT]]   (RUNS at least 10; default 15)
// Naming a format (aiken, gift, moodle-xml, json) times only that one, for
// profiling.
#include "bank/formats/bank_formats.h"
#include "bank/bank_loaders.h"
#include "bank/question_bank.h"

#include "bench_figures.h"

#include <QCoreApplication>

#include <cstdlib>
#include <optional>

namespace {

// The built-in questions repeated to the size asked, each text made unique.
ImportedBank bank_of(size_t size)
{
    QuestionBank builtin;
    fill_question_bank(builtin);
    ImportedBank bank;
    bank.title = builtin.test_title;
    for (size_t k = 0; k < size; ++k) {
        question_record record = builtin.at(int(k % size_t(builtin.total_questions)) + 1);
        record.question += QStringLiteral(" (%1)").arg(k);
        bank.questions.push_back(record);
    }
    return bank;
}

double import_ms(const QByteArray &bytes, BankFormat format, size_t expected)
{
    const auto start = Stopwatch::now();
    const ImportedBank bank = import_bank(bytes, format);
    const double ms = ms_since(start);
    if (bank.questions.size() != expected)
        std::fprintf(stderr, "imported %zu questions of %zu\n", bank.questions.size(), expected);
    return ms;
}

// One question whose text is lines of 8 characters, about megabytes long.
QByteArray long_question(BankFormat format, int megabytes)
{
    const QByteArray lines = QByteArray("a switch\n").repeated(megabytes * 1024 * 1024 / 9);
    if (format == BankFormat::Gift)
        return "::Long::" + lines + "{=yes ~no}\n";
    return "<quiz><question type=\"multichoice\"><questiontext format=\"plain_text\"><text>" + lines +
           "</text></questiontext><answer fraction=\"100\"><text>yes</text></answer>"
           "<answer fraction=\"0\"><text>no</text></answer></question></quiz>";
}

// Each size a few times: a run takes up to a second.
void long_text_figures(int runs)
{
    for (const auto &[name, format] : {std::pair{"GIFT", BankFormat::Gift}, std::pair{"Moodle XML", BankFormat::MoodleXml}}) {
        double medians[2] = {};
        for (const int megabytes : {16, 32}) {
            const QByteArray bytes = long_question(format, megabytes);
            std::vector<double> times;
            for (int run = 0; run < std::max(3, runs / 5); ++run)
                times.push_back(import_ms(bytes, format, 1));
            medians[megabytes / 32] = median(times);
            const QByteArray what = QByteArray("one question of ") + QByteArray::number(megabytes) + " MiB of short lines, " + name;
            print(what.constData(), times);
        }
        std::printf("   (twice as long takes %.2f times as long; linear: about 2)\n", medians[1] / medians[0]);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = std::max(10, argc > 1 ? std::atoi(argv[1]) : 15);
    const ImportedBank small = bank_of(10000);
    const struct {
        const char *name;
        BankFormat format;
    } formats[] = {{"Aiken", BankFormat::Aiken}, {"GIFT", BankFormat::Gift},
                   {"Moodle XML", BankFormat::MoodleXml}, {"JSON", BankFormat::Json}};
    const std::optional<BankFormat> only = argc > 2 ? format_from_name(QString::fromLocal8Bit(argv[2])) : std::nullopt;
    for (const auto &format : formats) {
        if (only && *only != format.format)
            continue;
        const QByteArray bytes = export_bank(small, format.format);
        std::vector<double> times;
        for (int run = 0; run < runs; ++run)
            times.push_back(import_ms(bytes, format.format, small.questions.size()));
        const QByteArray what = QByteArray("importing 10,000 questions, ") + format.name;
        print(what.constData(), times, "(< 300 ms)", 300);
        std::printf("   (a file of %.1f MiB)\n", bytes.size() / 1048576.0);
    }
    if (!only)
        long_text_figures(runs);
    return 0;
}
