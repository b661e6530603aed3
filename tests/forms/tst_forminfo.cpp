// The about box and the start screen on real widgets.

#include "FormMainTestSupport.h"
#include "UnitFormInfo.h"
#include "UnitFormStartScreen.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

class TestFormInfo : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;

private Q_SLOTS:
    void init() { PrepareProgramDir(FDir, "[Common]\nLanguage=German\n"); }
    void cleanup() {
        FormInfo = nullptr;
        CloseFormMain(FForm);
    }

    void aboutBoxNamesProductVersionAndLibraries() {
        TFormInfo box;
        box.show();
        QCOMPARE(box.LabelProduct->text(), QString("TESSARON"));
        QCOMPARE(box.LabelVersion->text(), QString("Version ") + TESSARON_VERSION);
        for (const char* library :
             {"Qt ", "Qt Charts", "SDL", "FluidSynth", "libjpeg", "SimpleIni", "LGPL", "zlib", "MIT"})
            QVERIFY2(box.LabelLibraries->text().contains(library), library);
        QCOMPARE(box.windowTitle(), QString("Info über TESSARON"));
    }

    void creditsScrollOnTheTimerAndStartAgain() {
        TFormInfo box;
        box.show();
        TCreditsScroller& credits = *box.ScrollerCredits;
        QVERIFY(credits.Timer.isActive());
        QCOMPARE(credits.Offset(), 0);
        QTRY_VERIFY(credits.Offset() >= 2);
        const int travel = credits.height() + credits.fontMetrics().lineSpacing() * 20;
        int steps = 0;
        while (credits.Offset() != 0 && steps++ <= travel)
            credits.Step();
        QVERIFY2(steps <= travel, "the credits never start again");
        box.hide();
        QVERIFY(!credits.Timer.isActive());
    }

    void helpMenuOpensTheBoxWithTheGameHalted() {
        ShowNewFormMain(FForm);
        TFormInfo box(FForm.get());
        FormInfo = &box;
        QTimer::singleShot(0, &box, [&box] {
            QVERIFY(box.isVisible());
            box.ButtonOk->click();
        });
        FForm->MenuItemInfo->trigger();
        QVERIFY(!box.isVisible());
        QVERIFY(FForm->GameStopped);
        QVERIFY(FForm->ToolButtonInfo->isEnabled());
    }

    void startScreenShowsItsPictureCentred() {
        TFormStartScreen screen;
        screen.ShowPainted();
        QCOMPARE(screen.size(), TFormStartScreen::WindowSize);
        QVERIFY(screen.windowFlags() & Qt::FramelessWindowHint);
        const QRect area = screen.screen()->availableGeometry();
        QVERIFY(qAbs(screen.geometry().center().x() - area.center().x()) <= 1);
    }

    void clickEndsTheStartScreensWait() {
        TFormStartScreen screen;
        screen.ShowPainted();
        QTimer::singleShot(10, &screen, [&screen] { QTest::mouseClick(&screen, Qt::LeftButton); });
        QElapsedTimer waited;
        waited.start();
        constexpr int LongWaitMs = 60000;
        screen.Wait(LongWaitMs);
        QVERIFY(waited.elapsed() < LongWaitMs);
        QVERIFY(screen.WaitEnded());
        waited.restart();
        screen.Wait(LongWaitMs); // returns at once now
        QVERIFY(waited.elapsed() < LongWaitMs);
    }

    void startScreenCanBeSkipped() {
        qunsetenv("TESSARON_SKIP_START_SCREEN");
        QVERIFY(!TFormStartScreen::Skipped());
        qputenv("TESSARON_SKIP_START_SCREEN", "1");
        QVERIFY(TFormStartScreen::Skipped());
    }
};

QTEST_MAIN(TestFormInfo)
#include "tst_forminfo.moc"
