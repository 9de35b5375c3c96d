#include "bank_loaders.h"
#include "question_bank.h"
#include <QTest>
class BankTest : public QObject { Q_OBJECT private slots: void loads() { QuestionBank b; fill_question_bank(b); QVERIFY(b.total_questions > 0); } };
QTEST_GUILESS_MAIN(BankTest)
#include "test_bank.moc"
