// The signals a session or a terminal sends to end the program close its main window, even when
// they come before the window exists.

#include "TerminationSignals.h"

#include <QTest>
#include <QWidget>

#include <csignal>

class TestTerminationSignals : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signalsCloseTheWindowEvenWhenTheyComeFirst();
};

void TestTerminationSignals::signalsCloseTheWindowEvenWhenTheyComeFirst() {
    CatchTerminationSignals();
    QVERIFY(std::raise(SIGTERM) == 0); // still starting: no window yet, and the program lives on
    QWidget window;
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    CloseOnTerminationSignals(&window);
    QTRY_VERIFY(!window.isVisible());

    for (const int signal : {SIGHUP, SIGINT}) {
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTest::qWait(50);
        QVERIFY2(window.isVisible(), "closed again by a signal already handled");
        QVERIFY(std::raise(signal) == 0);
        QTRY_VERIFY(!window.isVisible());
    }
}

QTEST_MAIN(TestTerminationSignals)
#include "tst_termination_signals.moc"
