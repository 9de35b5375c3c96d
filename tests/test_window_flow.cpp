#include "program.h"
#include <QTest>
class FlowTest : public QObject { Q_OBJECT private slots: void none() { QVERIFY(true); } };
QTEST_MAIN(FlowTest)
#include "test_window_flow.moc"
