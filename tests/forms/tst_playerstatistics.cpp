// The player statistics window on real widgets: one bar per name with its count, in file order;
// erasing, renaming and the guard on typed names. Setting TESSARON_BOARD_PNG_DIR leaves a picture of
// the window there.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "TestFiles.h"
#include "UnitPlayerStatistics.h"
#include "UnitPlayerWins.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QComboBox>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QValueAxis>

namespace {

constexpr auto WinsIni = "[Common]\nLanguage=German\n[PlayerStatistic.Win]\nAnna=2\nComputer=5\nBert=x\n";

// Each name's bar: the value of its own set at its own place.
QList<int> BarHeights(const TFormPlayerStatistic& window) {
    QList<int> heights;
    const QList<QBarSet*> sets = window.Series1->barSets();
    for (qsizetype i = 0; i < sets.size(); ++i)
        heights << qRound(sets[i]->at(i));
    return heights;
}

// Every set holds nothing away from its own bar, so the stacked bars are single ones.
bool SetsStandAlone(const TFormPlayerStatistic& window) {
    const QList<QBarSet*> sets = window.Series1->barSets();
    for (qsizetype i = 0; i < sets.size(); ++i)
        for (qsizetype place = 0; place < sets[i]->count(); ++place)
            if (place != i && sets[i]->at(place) != 0) return false;
    return true;
}

} // namespace

class TestPlayerStatistics : public QObject {
    Q_OBJECT

    QTemporaryDir FDir;
    std::unique_ptr<TFormPlayerStatistic> FWindow;

    TFormPlayerStatistic& Open(const QString& ini) {
        WriteIniFile(FDir, ini);
        FWindow = std::make_unique<TFormPlayerStatistic>();
        FWindow->show();
        return *FWindow;
    }

private Q_SLOTS:
    void init() { PrepareProgramDir(FDir, "[Common]\nLanguage=German\n"); }
    void cleanup() {
        FWindow.reset();
        CloseLanguageFile();
        SetProgramDir({});
    }

    void oneBarPerNameInFileOrder() {
        TFormPlayerStatistic& window = Open(WinsIni);
        QCOMPARE(window.AxisNames->categories(), (QStringList{"Anna", "Computer", "Bert"}));
        QCOMPARE(BarHeights(window), (QList<int>{2, 5, 0}));
        QVERIFY(SetsStandAlone(window));
        QVERIFY(window.Series1->isLabelsVisible());
        QCOMPARE(window.Chart->title(), QString("gewonnene Spiele"));
        QCOMPARE(window.windowTitle(), QString("Spielerstatistik"));
        QVERIFY(window.AxisWins->max() >= 5);
        QCOMPARE(window.AxisWins->min(), 0.0);
        if (const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR"); !dir.isEmpty()) {
            QTest::qWait(100); // the chart lays itself out on the event loop
            window.grab().save(QDir(dir).filePath("player-statistics.png"));
        }
    }

    // The window reads the counts at every opening.
    void winsAreReadAtEveryOpening() {
        TFormPlayerStatistic& window = Open("[Common]\nLanguage=German\n");
        AddWin("Anna");
        AddWin("anna");
        AddWin("Computer");
        window.hide();
        window.show();
        QCOMPARE(window.AxisNames->categories(), (QStringList{"Anna", "Computer"}));
        QCOMPARE(BarHeights(window), (QList<int>{2, 1}));
    }

    void missingSectionShowsAnEmptyChart() {
        TFormPlayerStatistic& window = Open("[Common]\nLanguage=German\n");
        QVERIFY(window.Series1->barSets().isEmpty());
        QVERIFY(!window.ButtonRename->isEnabled());
    }

    void eraseEmptiesChartAndSectionAtOnce() {
        TFormPlayerStatistic& window = Open(WinsIni);
        QTest::mouseClick(window.ButtonErase, Qt::LeftButton);
        QVERIFY(window.isVisible());
        QVERIFY(window.Series1->barSets().isEmpty());
        QVERIFY(ReadWins().isEmpty());
        QVERIFY(ReadSetting("Common", "Language", QString()) == "German");
        window.hide();
        window.show();
        QVERIFY(window.Series1->barSets().isEmpty());
    }

    void renameMovesTheWins_data() {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QList<int>>("heights");
        QTest::newRow("new name") << "Anna"
                                  << "Anne" << QStringList{"Computer", "Bert", "Anne"} << QList<int>{5, 0, 2};
        QTest::newRow("joins a name") << "Anna"
                                      << "Computer" << QStringList{"Bert", "Computer"} << QList<int>{0, 7};
        QTest::newRow("other case") << "Anna"
                                    << "ANNA" << QStringList{"Computer", "Bert", "ANNA"}
                                    << QList<int>{5, 0, 2};
        QTest::newRow("blanks around")
            << "Anna"
            << "  Ann  " << QStringList{"Computer", "Bert", "Ann"} << QList<int>{5, 0, 2};
    }
    void renameMovesTheWins() {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, names);
        QFETCH(QList<int>, heights);
        TFormPlayerStatistic& window = Open(WinsIni);
        DialogRecorder dialogs;
        dialogs.InputAnswers << to;
        window.ComboBoxName->setCurrentText(from);
        QTest::mouseClick(window.ButtonRename, Qt::LeftButton);
        QCOMPARE(dialogs.Inputs.size(), 1);
        QCOMPARE(dialogs.Inputs.first().Default, from);
        QVERIFY(dialogs.Messages.isEmpty());
        QCOMPARE(window.AxisNames->categories(), names);
        QCOMPARE(BarHeights(window), heights);
        QCOMPARE(window.ComboBoxName->currentText(), to.trimmed());
    }

    void typedNameThatCannotBeAKeyIsRefused_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("equals sign") << "A=B";
        QTest::newRow("section") << "[Common]";
        QTest::newRow("comment") << "; x";
        QTest::newRow("blank") << "   ";
        QTest::newRow("line break") << "A\nB";
    }
    void typedNameThatCannotBeAKeyIsRefused() {
        QFETCH(QString, typed);
        TFormPlayerStatistic& window = Open(WinsIni);
        const QByteArray before = ReadAll(FDir.filePath("tessaron.ini"));
        DialogRecorder dialogs;
        dialogs.InputAnswers << typed;
        QTest::mouseClick(window.ButtonRename, Qt::LeftButton);
        QCOMPARE(dialogs.Messages.size(), 1);
        QCOMPARE(ReadAll(FDir.filePath("tessaron.ini")), before);
    }

    void cancelledRenameChangesNothing() {
        TFormPlayerStatistic& window = Open(WinsIni);
        const QByteArray before = ReadAll(FDir.filePath("tessaron.ini"));
        DialogRecorder dialogs;
        QTest::mouseClick(window.ButtonRename, Qt::LeftButton);
        QCOMPARE(ReadAll(FDir.filePath("tessaron.ini")), before);
    }
};

QTEST_MAIN(TestPlayerStatistics)
#include "tst_playerstatistics.moc"
