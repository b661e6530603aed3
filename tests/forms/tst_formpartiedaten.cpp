// The game data dialog on the real main window, offscreen: what it shows, that OK writes every field
// and Cancel none, the ranges of its numbers, its callers (menu, tool button, a new game) and its
// texts in English.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "FormWidgets.h"
#include "IniFile.h"
#include "PartieDatenSample.h"
#include "RadioGroup.h"
#include "UnitFormPartiedaten.h"
#include "UnitSound.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <functional>

namespace {

// Every field, so that two records can be compared at once.
QStringList Fields(const TPartieDaten& d) {
    return {d.Player1Name(),
            QString::number(d.Player1Elo()),
            d.Player2Name(),
            QString::number(d.Player2Elo()),
            d.Event(),
            d.Site(),
            d.Comments(),
            QString::number(d.Year()),
            QString::number(d.Month()),
            QString::number(d.Day()),
            QString::number(d.Round()),
            d.ECO(),
            QString::number(d.Result())};
}

void TypeInto(QWidget* edit, const QString& text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void ClickItem(TRadioGroup* group, int index) {
    const QList<QAbstractButton*> buttons = group->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : buttons)
        if (button->text() == group->Items().at(index)) QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace

class TestFormPartiedaten : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void showsTheRecordAndTheColours();
    void okWritesEveryField();
    void cancelAndEscapeChangeNothing();
    void spinBoxesHoldTheirRanges();
    void menuAndToolButtonOpenIt();
    void newGameShowsItOnlyWithTheSetting();
    void checkBoxIsTheSetting();
    void designAndDragging();
    void everyTextHasANumber();
    void englishTexts();

private:
    TFormMain& NewWindow(const QString& language = "German");
    // Opens the dialog through `open` and runs `inside` while it is shown.
    void WhileShown(const std::function<void()>& open, const std::function<void(TFormPartiedaten&)>& inside);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TSoundRecorder> FSounds;
    int FShown = 0;
};

void TestFormPartiedaten::init() {
    FDialogs = std::make_unique<DialogRecorder>();
    FSounds = std::make_unique<TSoundRecorder>();
    FShown = 0;
}

void TestFormPartiedaten::cleanup() {
    FormPartiedaten = nullptr; // the main window owns it
    CloseFormMain(FForm);
    FSounds.reset();
    FDialogs.reset();
}

// Two human players, so that nothing moves by itself; the dialog is made before the window is shown,
// as at start-up, so the language reaches it.
TFormMain& TestFormPartiedaten::NewWindow(const QString& language) {
    PrepareProgramDir(
        FDir,
        QString("[Common]\nLanguage=%1\nAnimateMoves=0\n[GameStart]\nPlayer1=0\nPlayer2=0\n").arg(language));
    FForm = std::make_unique<TFormMain>();
    FormMain = FForm.get();
    FormPartiedaten = new TFormPartiedaten(FForm.get());
    connect(FormPartiedaten, &QDialog::finished, this, [this] { ++FShown; });
    FForm->show();
    if (!QTest::qWaitForWindowExposed(FForm.get())) qWarning("window not exposed");
    return *FForm;
}

void TestFormPartiedaten::WhileShown(const std::function<void()>& open,
                                     const std::function<void(TFormPartiedaten&)>& inside) {
    bool ran = false;
    // A timer of this scope: should the dialog never open, it cannot fire after the test has gone.
    QTimer whileOpen;
    whileOpen.setSingleShot(true);
    connect(&whileOpen, &QTimer::timeout, FormPartiedaten, [&] {
        QTRY_VERIFY(FormPartiedaten->isVisible());
        ran = true;
        inside(*FormPartiedaten);
        // A test that fails inside leaves the dialog open; it must not hang.
        if (FormPartiedaten->isVisible()) FormPartiedaten->reject();
    });
    whileOpen.start(0);
    open();
    QVERIFY(ran);
}

void TestFormPartiedaten::showsTheRecordAndTheColours() {
    TFormMain& form = NewWindow();
    FillSamplePartieDaten(form.PartieDaten, TPartieDaten::ResultPlayer2Wins);
    Settings().ShowPartiedaten = false;
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [](TFormPartiedaten& d) {
                   QCOMPARE(d.edtSpieler1->text(), "Anna");
                   QCOMPARE(d.edtElo1->value(), 1850);
                   QCOMPARE(d.edtSpieler2->text(), "Bert");
                   QCOMPARE(d.edtElo2->value(), 2010);
                   QCOMPARE(d.edtEreignis->text(), "Vereinsmeisterschaft");
                   QCOMPARE(d.edtOrt->text(), "Hamburg");
                   QCOMPARE(d.edtKommentare->text(), "Eine lange Partie");
                   QCOMPARE(d.edtJahr->text(), "1999");
                   QCOMPARE(d.edtMonat->value(), 12);
                   QCOMPARE(d.edtTag->value(), 31);
                   QCOMPARE(d.edtRunde->value(), 7);
                   QCOMPARE(d.edtECO->text(), "C42");
                   QCOMPARE(d.rgErgebnis->ItemIndex(), int(TPartieDaten::ResultPlayer2Wins));
                   QVERIFY(!d.cbShowPartiedaten->isChecked());
                   // Player 1 plays black at the start.
                   QCOMPARE(d.PanelColor1->text(), "Schwarz");
                   QCOMPARE(d.PanelColor1->palette().color(QPalette::Window), QColor(Qt::black));
                   QCOMPARE(d.PanelColor1->palette().color(QPalette::WindowText), QColor(Qt::white));
                   QCOMPARE(d.PanelColor2->text(), "Weiß");
                   QCOMPARE(d.PanelColor2->palette().color(QPalette::Window), QColor(Qt::white));
               });
    // With player 1 white the panels change places.
    form.ShapeFarbeSpieler1->SetBrushColor(Qt::white);
    form.ShapeFarbeSpieler2->SetBrushColor(Qt::black);
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [](TFormPartiedaten& d) {
                   QCOMPARE(d.PanelColor1->text(), "Weiß");
                   QCOMPARE(d.PanelColor2->text(), "Schwarz");
               });
}

void TestFormPartiedaten::okWritesEveryField() {
    TFormMain& form = NewWindow();
    const QString sixty = QString(60, 'x');
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   TypeInto(d.edtSpieler1, sixty);
                   TypeInto(d.edtSpieler2, "Clara");
                   TypeInto(d.edtElo1, "1500");
                   TypeInto(d.edtElo2, "2400");
                   TypeInto(d.edtEreignis, "Turnier");
                   TypeInto(d.edtOrt, "Bern");
                   TypeInto(d.edtKommentare, "Kurz");
                   TypeInto(d.edtJahr, "2001");
                   TypeInto(d.edtMonat, "2");
                   TypeInto(d.edtTag, "3");
                   TypeInto(d.edtRunde, "4");
                   TypeInto(d.edtECO, "B20 Sizilianisch");
                   ClickItem(d.rgErgebnis, TPartieDaten::ResultDraw);
                   QTest::mouseClick(d.btnOk, Qt::LeftButton);
               });
    const QStringList expected = {QString(50, 'x'),
                                  "1500",
                                  "Clara",
                                  "2400",
                                  "Turnier",
                                  "Bern",
                                  "Kurz",
                                  "2001",
                                  "2",
                                  "3",
                                  "4",
                                  "B20 Sizili",
                                  QString::number(TPartieDaten::ResultDraw)};
    QCOMPARE(Fields(form.PartieDaten), expected);
    QCOMPARE(form.LabelSpieler1->text(), QString(50, 'x'));
    QCOMPARE(form.LabelSpieler2->text(), "Clara");
    QVERIFY(form.GameStopped);
}

void TestFormPartiedaten::cancelAndEscapeChangeNothing() {
    TFormMain& form = NewWindow();
    FillSamplePartieDaten(form.PartieDaten, TPartieDaten::ResultPlayer2Wins);
    const QStringList before = Fields(form.PartieDaten);
    const bool setting = Settings().ShowPartiedaten;
    const auto change = [](TFormPartiedaten& d) {
        TypeInto(d.edtSpieler1, "Neu");
        TypeInto(d.edtElo1, "999");
        TypeInto(d.edtRunde, "12");
        ClickItem(d.rgErgebnis, TPartieDaten::ResultNone);
        d.cbShowPartiedaten->setChecked(!d.cbShowPartiedaten->isChecked());
    };
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   change(d);
                   QTest::mouseClick(d.btnAbbrechen, Qt::LeftButton);
               });
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   change(d);
                   QTest::keyClick(&d, Qt::Key_Escape);
               });
    QCOMPARE(FShown, 2);
    QCOMPARE(Fields(form.PartieDaten), before);
    QCOMPARE(Settings().ShowPartiedaten, setting);
    QCOMPARE(form.LabelSpieler1->text(), "Spieler 1");
}

void TestFormPartiedaten::spinBoxesHoldTheirRanges() {
    TFormMain& form = NewWindow();
    struct Range {
        QSpinBox* TFormPartiedaten::*Edit;
        int Maximum;
    };
    const Range ranges[] = {{&TFormPartiedaten::edtElo1, 10000}, {&TFormPartiedaten::edtElo2, 10000},
                            {&TFormPartiedaten::edtJahr, 9999},  {&TFormPartiedaten::edtMonat, 12},
                            {&TFormPartiedaten::edtTag, 31},     {&TFormPartiedaten::edtRunde, 9999}};
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   for (const Range& range : ranges) {
                       QSpinBox* spin = d.*range.Edit;
                       QCOMPARE(spin->minimum(), 0);
                       QCOMPARE(spin->maximum(), range.Maximum);
                       TypeInto(spin, "12a-34567");
                       QVERIFY2(spin->value() >= 0 && spin->value() <= range.Maximum,
                                qPrintable(spin->objectName()));
                       TypeInto(spin, "-5");
                       QVERIFY2(spin->value() >= 0, qPrintable(spin->objectName()));
                   }
                   TypeInto(d.edtMonat, "7");
                   QTest::keyClick(d.edtMonat, Qt::Key_Up);
                   QTest::mouseClick(d.btnOk, Qt::LeftButton);
               });
    QCOMPARE(form.PartieDaten.Month(), 8);
    QVERIFY(form.PartieDaten.Player1Elo() >= 0 && form.PartieDaten.Player1Elo() <= 10000);
    QVERIFY(form.PartieDaten.Day() >= 0 && form.PartieDaten.Day() <= 31);
}

void TestFormPartiedaten::menuAndToolButtonOpenIt() {
    TFormMain& form = NewWindow();
    QVERIFY(form.MenuItemPartiedaten->isEnabled());
    QVERIFY(form.ToolButtonPartiedaten->isEnabled());
    QCOMPARE(form.MenuItemPartiedaten->shortcut(), QKeySequence("Ctrl+Alt+P"));
    form.PartieDaten.SetPlayer1Name({});
    form.PartieDaten.SetPlayer2Name("Gespeichert");
    form.LabelSpieler1->setText("Vom Etikett");
    WhileShown([&] { form.ToolButtonPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   // An empty name comes from the window; a stored one stays.
                   QCOMPARE(d.edtSpieler1->text(), "Vom Etikett");
                   QCOMPARE(d.edtSpieler2->text(), "Gespeichert");
                   QVERIFY(d.isModal());
                   QTest::mouseClick(d.btnAbbrechen, Qt::LeftButton);
               });
    QCOMPARE(FShown, 1);
    QVERIFY(form.GameStopped);
    QCOMPARE(form.LabelSpieler2->text(), "Spieler 2"); // Cancel leaves the labels
}

void TestFormPartiedaten::newGameShowsItOnlyWithTheSetting() {
    TFormMain& form = NewWindow();
    QVERIFY(Settings().ShowPartiedaten); // on unless the settings say otherwise
    FDialogs->MessageAnswers = {mrYes};
    WhileShown([&] { form.ButtonNeuClick(); },
               [&](TFormPartiedaten& d) {
                   // A fresh game: today's date, round 0, empty texts, no result.
                   const QDate today = QDate::currentDate();
                   QCOMPARE(d.edtJahr->value(), today.year());
                   QCOMPARE(d.edtMonat->value(), today.month());
                   QCOMPARE(d.edtTag->value(), today.day());
                   QCOMPARE(d.edtRunde->value(), 0);
                   QVERIFY(d.edtEreignis->text().isEmpty() && d.edtECO->text().isEmpty());
                   QCOMPARE(d.rgErgebnis->ItemIndex(), int(TPartieDaten::ResultNone));
                   QCOMPARE(d.edtSpieler1->text(), "Spieler 1");
                   QVERIFY(d.cbShowPartiedaten->isChecked());
                   TypeInto(d.edtSpieler2, "Dora");
                   QTest::mouseClick(d.btnOk, Qt::LeftButton);
               });
    QCOMPARE(FShown, 1);
    QCOMPARE(form.LabelSpieler2->text(), "Dora");
    QVERIFY(!form.GameStopped); // the new game runs

    Settings().ShowPartiedaten = false;
    FDialogs->MessageAnswers = {mrYes};
    form.ButtonNeuClick();
    QCOMPARE(FShown, 1);
    QVERIFY(!form.GameStopped);
}

void TestFormPartiedaten::checkBoxIsTheSetting() {
    TFormMain& form = NewWindow();
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   QVERIFY(d.cbShowPartiedaten->isChecked());
                   QTest::mouseClick(d.cbShowPartiedaten, Qt::LeftButton);
                   QTest::mouseClick(d.btnOk, Qt::LeftButton);
               });
    QVERIFY(!Settings().ShowPartiedaten);
    form.close();
    TIniFile ini;
    QVERIFY(ini.Load(FDir.filePath("tessaron.ini")));
    QCOMPARE(ini.Value("Common", "ShowPartiedaten"), "0");
}

void TestFormPartiedaten::designAndDragging() {
    TFormMain& form = NewWindow();
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [&](TFormPartiedaten& d) {
                   QVERIFY(d.windowFlags() & Qt::FramelessWindowHint);
                   QVERIFY(d.width() >= 506 && d.height() >= 352);
                   const QPoint centre = form.frameGeometry().center();
                   QVERIFY(qAbs(d.frameGeometry().center().x() - centre.x()) <= 1);
                   QVERIFY(qAbs(d.frameGeometry().center().y() - centre.y()) <= 1);
                   QCOMPARE(d.rgErgebnis->Columns(), 4);
                   // A press on the heading, which takes no presses itself, drags the dialog.
                   const QPoint start = d.pos();
                   const QPoint grip = d.LabelSpielerdaten->mapTo(&d, QPoint(2, 2));
                   QTest::mousePress(&d, Qt::LeftButton, Qt::NoModifier, grip);
                   QTest::mouseMove(&d, grip + QPoint(30, 20));
                   QTest::mouseRelease(&d, Qt::LeftButton, Qt::NoModifier, grip + QPoint(30, 20));
                   QTRY_COMPARE(d.pos(), start + QPoint(30, 20));
                   QTest::mouseClick(d.btnAbbrechen, Qt::LeftButton);
               });
}

// Apart from the colour panels, which take their texts when shown, every text has a number.
void TestFormPartiedaten::everyTextHasANumber() {
    NewWindow();
    QStringList untagged;
    for (QWidget* widget : FormPartiedaten->findChildren<QWidget*>()) {
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            text = group->title();
        const bool inResultGroup = widget->parentWidget() == FormPartiedaten->rgErgebnis;
        if (!text.isEmpty() && !inResultGroup && widget->property("Tag").toInt() == 0) untagged << text;
    }
    QCOMPARE(untagged, QStringList());
}

void TestFormPartiedaten::englishTexts() {
    TFormMain& form = NewWindow("English");
    WhileShown([&] { form.MenuItemPartiedaten->trigger(); },
               [](TFormPartiedaten& d) {
                   QCOMPARE(d.LabelSpielerdaten->text(), "Player data");
                   QCOMPARE(d.LabelPartiedaten->text(), "Game data");
                   QCOMPARE(d.LabelKommentare->text(), "Comments");
                   QCOMPARE(d.findChild<QLabel*>("LabelEreignis")->text(), "Event");
                   QCOMPARE(d.findChild<QLabel*>("LabelTag")->text(), "Day");
                   QCOMPARE(d.findChild<QLabel*>("LabelElo2")->text(), "Elo");
                   QCOMPARE(d.rgErgebnis->title(), "Result");
                   QCOMPARE(d.rgErgebnis->Items(), QStringList({"1 - 0", "1/2 - 1/2", "0 - 1", "no result"}));
                   QCOMPARE(d.cbShowPartiedaten->text(), "Show this window for a new game");
                   QCOMPARE(d.btnOk->text(), "&OK");
                   QCOMPARE(d.btnAbbrechen->text(), "&Cancel");
                   QCOMPARE(d.PanelColor1->text(), "Black");
                   QCOMPARE(d.PanelColor2->text(), "White");
               });
}

QTEST_MAIN(TestFormPartiedaten)
#include "tst_formpartiedaten.moc"
