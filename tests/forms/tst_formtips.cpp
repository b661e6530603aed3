// The tips window on real widgets: the tips of the language file, the counter, the heading size, the
// first and later openings, the start-up switch, and the tips shown at the main window's first
// activation.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "UnitFormTips.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTimer>
#include <functional>

class TestFormTips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void counterCyclesThroughThreeTips();
    void emptyTipListShowsZeroOfZero();
    void barsBecomeLineBreaks();
    void headingSizeFollowsItsLength_data();
    void headingSizeFollowsItsLength();
    void firstOpeningShowsTheFirstTipLaterOnesAnyTip();
    void startSwitchIsKeptAcrossAStart();
    void tipsOpenAtTheFirstActivation_data();
    void tipsOpenAtTheFirstActivation();
    void shippedTipsAreAllThere_data();
    void shippedTipsAreAllThere();

private:
    // A language file "Test.lng" of these lines becomes the active language.
    void UseLanguage(const QString& lines);
    // Opens the window, lets `whileOpen` look at it, and closes it with the close button.
    void OpenAndClose(const std::function<void()>& whileOpen);

    QTemporaryDir FDir;
    std::unique_ptr<TFormTips> FTips;
};

void TestFormTips::init() {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\n");
    ReadStartSettings();
    FTips = std::make_unique<TFormTips>();
}

void TestFormTips::cleanup() {
    FTips.reset();
    CloseLanguageFile();
    SetProgramDir({});
}

void TestFormTips::UseLanguage(const QString& lines) {
    QFile file(FDir.filePath("Lang/Test.lng"));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.toUtf8());
    file.close();
    QVERIFY(LoadLanguageFile("Test"));
}

void TestFormTips::OpenAndClose(const std::function<void()>& whileOpen) {
    bool looked = false;
    QTimer::singleShot(0, FTips.get(), [&] {
        whileOpen();
        looked = true;
        FTips->ButtonClose->click();
    });
    FTips->exec();
    QVERIFY(looked);
}

void TestFormTips::counterCyclesThroughThreeTips() {
    UseLanguage("3910=Erster\n3920=Zweiter\n3950=Dritter\n");
    OpenAndClose([this] {
        QCOMPARE(FTips->TipCount(), 3);
        const QStringList expected = {"(1/3)", "(2/3)", "(3/3)", "(1/3)"};
        const QStringList texts = {"Erster", "Zweiter", "Dritter", "Erster"};
        for (int i = 0; i < expected.size(); ++i) {
            QCOMPARE(FTips->LabelAnzahlTips->text(), expected[i]);
            QCOMPARE(FTips->LabelText->text(), texts[i]);
            QTest::mouseClick(FTips->ButtonNext, Qt::LeftButton);
        }
    });
}

void TestFormTips::emptyTipListShowsZeroOfZero() {
    UseLanguage("3900=Tips\n3909=kein Tip\n3951=auch keiner\n");
    Settings().ShowTipsRandom = true; // a random start must not divide by the empty count
    OpenAndClose([this] {
        QCOMPARE(FTips->TipCount(), 0);
        QCOMPARE(FTips->LabelAnzahlTips->text(), "(0/0)");
        QVERIFY(FTips->LabelText->text().isEmpty());
        FTips->ButtonNext->click();
        QCOMPARE(FTips->LabelAnzahlTips->text(), "(0/0)");
        QCOMPARE(FTips->TipIndex(), 0);
    });
    QCOMPARE(TipCounterText(0, 0), "(0/0)");
}

void TestFormTips::barsBecomeLineBreaks() {
    UseLanguage("3910=Erster Absatz.||Zweiter Absatz.\n");
    OpenAndClose([this] { QCOMPARE(FTips->LabelText->text(), "Erster Absatz.\n\nZweiter Absatz."); });
}

void TestFormTips::headingSizeFollowsItsLength_data() {
    QTest::addColumn<QString>("heading");
    QTest::addColumn<int>("pointSize");
    QTest::newRow("20 characters") << QString(20, 'x') << 12;
    QTest::newRow("21 characters") << QString(21, 'x') << 10;
}

void TestFormTips::headingSizeFollowsItsLength() {
    QFETCH(QString, heading);
    QFETCH(int, pointSize);
    UseLanguage("3903=" + heading + "\n3910=Tip\n");
    OpenAndClose([&] {
        QCOMPARE(FTips->LabelTip->text(), heading);
        QCOMPARE(FTips->LabelTip->font().pointSize(), pointSize);
    });
}

void TestFormTips::firstOpeningShowsTheFirstTipLaterOnesAnyTip() {
    QString lines;
    for (int n = 3910; n <= 3950; ++n)
        lines += QString("%1=Tip %1\n").arg(n);
    UseLanguage(lines);
    Settings().ShowTipsRandom = false;
    OpenAndClose([this] { QCOMPARE(FTips->LabelAnzahlTips->text(), "(1/41)"); });
    QVERIFY(Settings().ShowTipsRandom);
    QSet<int> starts;
    for (int i = 0; i < 20; ++i)
        OpenAndClose([&] { starts << FTips->TipIndex(); });
    QVERIFY2(starts.size() > 1, "twenty openings all began at the same tip");
    for (int start : starts)
        QVERIFY(start >= 0 && start < 41);
}

void TestFormTips::startSwitchIsKeptAcrossAStart() {
    WriteIniFile(FDir, "[Common]\nLanguage=German\nSaveOptions=1\nShowTips=1\n");
    ReadStartSettings();
    OpenAndClose([this] {
        QVERIFY(FTips->CheckBoxShowAtStart->isChecked());
        FTips->CheckBoxShowAtStart->click();
    });
    QVERIFY(!Settings().ShowTips);
    QVERIFY(WriteSettingsAtExit(TExitState{}));
    Settings() = TSettings{};
    ReadStartSettings();
    QVERIFY(!Settings().ShowTips);
    // Escape closes the window too, and keeps the answer as well.
    QTimer::singleShot(0, FTips.get(), [this] {
        FTips->CheckBoxShowAtStart->click();
        QTest::keyClick(FTips.get(), Qt::Key_Escape);
    });
    FTips->exec();
    QVERIFY(Settings().ShowTips);
}

void TestFormTips::tipsOpenAtTheFirstActivation_data() {
    QTest::addColumn<bool>("showTips");
    QTest::newRow("on") << true;
    QTest::newRow("off") << false;
}

void TestFormTips::tipsOpenAtTheFirstActivation() {
    QFETCH(bool, showTips);
    WriteIniFile(FDir, QString("[Common]\nLanguage=German\nShowTips=%1\n").arg(int(showTips)));
    std::unique_ptr<TFormMain> form;
    FormTips = FTips.get();
    int openings = 0;
    connect(FTips.get(), &QDialog::finished, this, [&] { ++openings; });
    // Whatever opens is closed again at once, so a window the test does not expect cannot hang it.
    QTimer closer;
    connect(&closer, &QTimer::timeout, this, [this] {
        if (FTips->isVisible()) FTips->reject();
    });
    closer.start(10);
    ShowNewFormMain(form).activateWindow();
    QTRY_VERIFY(form->isActiveWindow());
    QTest::qWait(50);
    QCOMPARE(openings, showTips ? 1 : 0);
    FormMain->activateWindow(); // later activations open nothing
    QTest::qWait(50);
    QCOMPARE(openings, showTips ? 1 : 0);
    form->BitBtnWeiterClick();
    form->ToolButtonTips->trigger(); // the tool button and F11 open it whatever the switch says
    QCOMPARE(openings, showTips ? 2 : 1);
    QVERIFY(form->GameStopped);
    QCOMPARE(form->MenuItemTips->shortcut(), QKeySequence(Qt::Key_F11));
    FormTips = nullptr;
    CloseFormMain(form);
}

void TestFormTips::shippedTipsAreAllThere_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("German") << "German";
    QTest::newRow("English") << "English";
}

// All 41 numbers carry a tip, each a few sentences at most, with no leftover placeholder.
void TestFormTips::shippedTipsAreAllThere() {
    QFETCH(QString, language);
    constexpr int LongestTip = 400;
    WriteIniFile(FDir, "[Common]\nLanguage=" + language + "\nShowTipsRandom=0\n");
    ReadStartSettings();
    QVERIFY(LoadLanguageFile(language));
    const QStringList tips = LoadTipTexts();
    QCOMPARE(tips.size(), 41);
    for (const QString& tip : tips) {
        QVERIFY2(tip.size() <= LongestTip, qPrintable(tip));
        QVERIFY2(!tip.contains("%") && !tip.contains("TODO") && !tip.contains("|||"), qPrintable(tip));
        QVERIFY2(!tip.startsWith('|') && !tip.endsWith('|'), qPrintable(tip));
    }
    QCOMPARE(QSet<QString>(tips.begin(), tips.end()).size(), tips.size());
    OpenAndClose([&] {
        QCOMPARE(FTips->LabelAnzahlTips->text(), "(1/41)");
        if (const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR"); !dir.isEmpty())
            FTips->grab().save(QDir(dir).filePath("tips-" + language + ".png"));
    });
}

QTEST_MAIN(TestFormTips)
#include "tst_formtips.moc"
