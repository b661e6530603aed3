#include "DialogRecorder.h"
#include "UnitDialogFunctions.h"
#include "WindowPlacement.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void centeredPosition_data();
    void centeredPosition();
    void windowsAreFittedToTheScreen_data();
    void windowsAreFittedToTheScreen();
    void messagesGoThroughTheSeam();
    void inputAndFileDialogsGoThroughTheSeam();
    void filterConversion_data();
    void filterConversion();
    void realMessageBoxIsCenteredAndAnswers();
};

void TestDialogs::centeredPosition_data() {
    QTest::addColumn<QRect>("owner");
    QTest::addColumn<QSize>("dialog");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("plain") << QRect(100, 50, 800, 600) << QSize(200, 100) << QPoint(400, 300);
    QTest::newRow("odd halves truncate") << QRect(0, 0, 301, 201) << QSize(100, 100) << QPoint(100, 50);
    QTest::newRow("dialog wider than owner") << QRect(300, 300, 100, 100) << QSize(301, 103) << QPoint(200, 299);
    QTest::newRow("negative goes to 0") << QRect(-50, 10, 100, 20) << QSize(400, 300) << QPoint(0, 0);
    // wider than an int can measure: the halves must not wrap around
    QTest::newRow("owner of int extremes")
        << QRect(QPoint(-2000000000, -2000000000), QPoint(2000000400, 2000000200)) << QSize(200, 100)
        << QPoint(100, 50);
    QTest::newRow("owner at the far end")
        << QRect(QPoint(2147483000, 2147483000), QPoint(2147483647, 2147483647)) << QSize(2000, 1000)
        << QPoint(2147482324, 2147482824);
}

void TestDialogs::windowsAreFittedToTheScreen_data() {
    QTest::addColumn<qint64>("left");
    QTest::addColumn<qint64>("top");
    QTest::addColumn<qint64>("width");
    QTest::addColumn<qint64>("height");
    QTest::addColumn<QRect>("expected");
    constexpr qint64 Huge = 2147483647;
    QTest::newRow("inside stays") << qint64(100) << qint64(50) << qint64(800) << qint64(600)
                                  << QRect(100, 50, 800, 600);
    QTest::newRow("off to the left and above")
        << qint64(-5000) << qint64(-300) << qint64(800) << qint64(600) << QRect(0, 30, 800, 600);
    QTest::newRow("off to the right and below")
        << qint64(1900) << qint64(1000) << qint64(800) << qint64(600) << QRect(1120, 480, 800, 600);
    QTest::newRow("larger than the screen")
        << qint64(0) << qint64(0) << Huge << Huge << QRect(0, 30, 1920, 1050);
    QTest::newRow("int extremes everywhere") << Huge << -Huge - 1 << Huge << Huge << QRect(0, 30, 1920, 1050);
    QTest::newRow("negative size") << qint64(10) << qint64(40) << qint64(-800) << qint64(-1)
                                   << QRect(10, 40, 480, 360);
    QTest::newRow("tiny size") << qint64(10) << qint64(40) << qint64(1) << qint64(0)
                               << QRect(10, 40, 480, 360);
}

// A 1920 x 1080 screen with a 30 pixel panel at the top.
void TestDialogs::windowsAreFittedToTheScreen() {
    QFETCH(qint64, left);
    QFETCH(qint64, top);
    QFETCH(qint64, width);
    QFETCH(qint64, height);
    QFETCH(QRect, expected);
    const QRect screen(0, 30, 1920, 1050);
    QCOMPARE(FitToArea({left, top, width, height}, screen, QSize(480, 360)), expected);
    const QRect small(0, 0, 320, 200); // a screen smaller than the smallest window is filled
    QCOMPARE(FitToArea({left, top, width, height}, small, QSize(480, 360)), QRect(0, 0, 320, 200));
    const TWishedGeometry centred = CentredInArea(QSize(800, 600), screen);
    QCOMPARE(QRect(centred.Left, centred.Top, centred.Width, centred.Height), QRect(560, 255, 800, 600));
    QCOMPARE(KeepInArea(QPoint(1800, -40), QSize(200, 100), screen), QPoint(1720, 30));
}

void TestDialogs::centeredPosition() {
    QFETCH(QRect, owner);
    QFETCH(QSize, dialog);
    QFETCH(QPoint, expected);
    QCOMPARE(CenteredPosition(owner, dialog), expected);
}

void TestDialogs::messagesGoThroughTheSeam() {
    DialogRecorder dialogs;
    dialogs.MessageAnswers << mrNo;
    QWidget owner;
    QCOMPARE(ShowCenteredMessage("Wirklich beenden?", TMsgDlgType::mtConfirmation, mbYes | mbNo, &owner), int(mrNo));
    ShowInfoMessage("Schach", nullptr);
    QCOMPARE(dialogs.Messages.size(), 2);
    QCOMPARE(dialogs.Messages[0].Kind, TMsgDlgType::mtConfirmation);
    QCOMPARE(dialogs.Messages[0].Buttons, TMsgDlgButtons(mbYes | mbNo));
    QCOMPARE(dialogs.Messages[0].Owner, &owner);
    QCOMPARE(dialogs.Messages[0].Caption, "TESSARON");
    QCOMPARE(dialogs.Messages[1].Text, "Schach");
    QCOMPARE(dialogs.Messages[1].Kind, TMsgDlgType::mtCustom);
    QCOMPARE(dialogs.Messages[1].Buttons, TMsgDlgButtons(mbOK));
}

void TestDialogs::inputAndFileDialogsGoThroughTheSeam() {
    DialogRecorder dialogs;
    dialogs.InputAnswers << QString("Anna") << std::nullopt;
    dialogs.FileAnswers << QString("/tmp/partie.tn2");
    QCOMPARE(InputBox("Spieler", "Name:", "Spieler 1"), std::optional<QString>("Anna"));
    QCOMPARE(InputBox("Spieler", "Name:", "Spieler 1"), std::nullopt);
    QCOMPARE(dialogs.Inputs[0].Default, "Spieler 1");
    QCOMPARE(PromptSaveFileName("Speichern", "/tmp", "Partie (*.tn2)|*.tn2", "tn2"),
             std::optional<QString>("/tmp/partie.tn2"));
    QCOMPARE(PromptOpenFileName("Laden", "/tmp", "Partie (*.tn2)|*.tn2"), std::nullopt);
    QCOMPARE(dialogs.Files[0].Kind, TFileDialogKind::Save);
    QCOMPARE(dialogs.Files[0].DefaultExtension, "tn2");
    QCOMPARE(dialogs.Files[1].Kind, TFileDialogKind::Open);
    dialogs.FileAnswers << QString("/home/spieler/sprache");
    QCOMPARE(PromptDirectory("Wählen Sie einen Ordner", "/home"), std::optional<QString>("/home/spieler/sprache"));
    QCOMPARE(dialogs.Files[2].Kind, TFileDialogKind::Directory);
}

void TestDialogs::filterConversion_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("expected");
    QTest::newRow("one") << "Bitmaps (*.bmp)|*.bmp" << "Bitmaps (*.bmp)";
    QTest::newRow("two") << "Partien (*.tn2)|*.tn2|Alle Dateien (*.*)|*.*" << "Partien (*.tn2);;Alle Dateien (*.*)";
    QTest::newRow("patterns of the name replaced")
        << "TESSARON-Files (*.tn2;*.nt;*.tn)|*.tn2;*.TN2;*.nt" << "TESSARON-Files (*.tn2 *.TN2 *.nt)";
    QTest::newRow("name without patterns") << "Alte Partien|*.TN;*.NT" << "Alte Partien (*.TN *.NT)";
    QTest::newRow("empty") << "" << "";
}

void TestDialogs::filterConversion() {
    QFETCH(QString, filter);
    QFETCH(QString, expected);
    QCOMPARE(ToQtFilter(filter), expected);
}

void TestDialogs::realMessageBoxIsCenteredAndAnswers() {
    QWidget owner;
    owner.setGeometry(100, 100, 640, 480);
    owner.show();
    QRect boxGeometry;
    QString boxText;
    QStringList buttonTexts;
    QTimer::singleShot(0, this, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        boxGeometry = box->frameGeometry();
        boxText = box->text();
        for (QMessageBox::StandardButton button : {QMessageBox::Abort, QMessageBox::Retry})
            buttonTexts << box->button(button)->text();
        box->button(QMessageBox::Retry)->click();
    });
    const int result = ShowCenteredMessage("Datei fehlt", TMsgDlgType::mtError, mbAbort | mbRetry, &owner);
    QCOMPARE(result, int(mrRetry));
    QCOMPARE(boxText, "Datei fehlt");
    QCOMPARE(buttonTexts, QStringList({"Ab&brechen", "&Wiederholen"})); // the program's language, not Qt's
    QCOMPARE(boxGeometry.topLeft(), CenteredPosition(owner.frameGeometry(), boxGeometry.size()));
}

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"
