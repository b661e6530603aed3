// The real main window in the shipped languages and under damaged language files: every text the
// window shows has a number, the English interface shows no German, a list text with the wrong
// number of entries leaves both players able to move, and no kind outside the list is stored.

#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "IniFile.h"
#include "UnitFormMain.h"
#include "UnitFormPromotion.h"
#include "UnitLanguages.h"
#include "UnitSound.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

bool HasLetters(const QString& text) {
    return text.contains(QRegularExpression("\\p{L}"));
}

int TagOf(const QObject* object) {
    return object->property("Tag").toInt();
}

// What a person can read in the window without a language file's help: visible action and menu
// texts, button and label captions, group titles.
QStringList UntaggedTexts(QMainWindow& window) {
    QStringList untagged;
    const QString product = window.windowTitle();
    for (QAction* action : window.findChildren<QAction*>()) {
        const bool tagged = TagOf(action) != 0 || (action->menu() && TagOf(action->menu()) != 0);
        if (action->isVisible() && HasLetters(action->text()) && !tagged) untagged << action->text();
    }
    for (QWidget* widget : window.findChildren<QWidget*>()) {
        QString text;
        if (auto* tool = qobject_cast<QToolButton*>(widget); tool && tool->defaultAction())
            continue; // its action counts
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget))
            text = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            text = group->title();
        if (HasLetters(text) && text != product && TagOf(widget) == 0) untagged << text;
    }
    return untagged;
}

} // namespace

class TestFormMainLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void everyTextHasANumber();
    void englishInterfaceShowsNoGerman();
    void toolBarOffersNoUntranslatedPopUp();
    void promotionCaptionIsTranslated();
    void damagedKindListKeepsBothPlayersMoving_data();
    void damagedKindListKeepsBothPlayersMoving();
    void aKindListShowingNoneStoresTheKindReadAtStart();

private:
    void WriteEnglishWith(const QString& playerTypeLine);
    TFormMain& NewWindow();
    QString StoredValue(const QString& section, const QString& key);

    QTemporaryDir FDir;
    std::unique_ptr<TFormMain> FForm;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TSoundRecorder> FSounds;
};

// The shipped English file with its player-type line replaced.
void TestFormMainLanguage::WriteEnglishWith(const QString& playerTypeLine) {
    QFile shipped(QString(TESSARON_SOURCE_DIR) + "/data/Lang/English.lng");
    QVERIFY(shipped.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(shipped.readAll());
    text.replace(QRegularExpression("^2200=.*$", QRegularExpression::MultilineOption), playerTypeLine);
    QFile damaged(FDir.filePath("Lang/English.lng"));
    QVERIFY(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write(text.toUtf8());
}

void TestFormMainLanguage::init() {
    PrepareProgramDir(FDir, "[Common]\nLanguage=English\nAnimateMoves=0\n");
    FDialogs = std::make_unique<DialogRecorder>();
    FSounds = std::make_unique<TSoundRecorder>();
}

void TestFormMainLanguage::cleanup() {
    CloseFormMain(FForm);
    FSounds.reset();
    FDialogs.reset();
}

TFormMain& TestFormMainLanguage::NewWindow() {
    return ShowNewFormMain(FForm);
}

QString TestFormMainLanguage::StoredValue(const QString& section, const QString& key) {
    TIniFile ini;
    if (!ini.Load(FDir.filePath("tessaron.ini"))) return "(unreadable)";
    return ini.Value(section, key);
}

void TestFormMainLanguage::everyTextHasANumber() {
    TFormMain& form = NewWindow();
    QCOMPARE(UntaggedTexts(form), QStringList());
}

void TestFormMainLanguage::englishInterfaceShowsNoGerman() {
    TFormMain& form = NewWindow();
    QCOMPARE(ActiveLanguageFile(), "English");
    QCOMPARE(form.MenuItemPartiedaten->text(), "Game data");
    QStringList popup;
    for (QAction* item : form.PopupMenuChessBrd->actions())
        popup << item->text();
    QCOMPARE(popup, QStringList({"Chessboard", "Change piece set"}));
    QCOMPARE(form.ComboBoxSpieler1->itemText(pkZufall), "Random");
    QVERIFY(form.ListBoxZuege->toolTip().startsWith("Select a move"));
}

void TestFormMainLanguage::toolBarOffersNoUntranslatedPopUp() {
    TFormMain& form = NewWindow();
    const std::unique_ptr<QMenu> popup(form.createPopupMenu());
    QVERIFY(!popup || popup->isEmpty());
}

void TestFormMainLanguage::promotionCaptionIsTranslated() {
    TFormPromotion promotion;
    QString caption;
    QTimer::singleShot(0, &promotion, [&] {
        caption = promotion.windowTitle();
        promotion.Button(5)->click();
    });
    promotion.Ask(true);
    QCOMPARE(caption, "Bauernumwandlung");
    QVERIFY(LoadLanguageFile("English"));
    QTimer::singleShot(0, &promotion, [&] {
        caption = promotion.windowTitle();
        promotion.Button(5)->click();
    });
    promotion.Ask(true);
    QCOMPARE(caption, "Pawn promotion");
}

void TestFormMainLanguage::damagedKindListKeepsBothPlayersMoving_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("items");
    const QStringList builtIn{"Mensch", "Computer", "Zufall"};
    QTest::newRow("no entries") << "2200=Player type" << builtIn;
    QTest::newRow("too few entries") << "2200=Player type|Human|Computer" << builtIn;
    QTest::newRow("one entry too many")
        << "2200=Player type|Human|Computer|Random|Robot" << QStringList{"Human", "Computer", "Random"};
}

void TestFormMainLanguage::damagedKindListKeepsBothPlayersMoving() {
    QFETCH(QString, line);
    QFETCH(QStringList, items);
    WriteEnglishWith(line);
    WriteIniFile(FDir, "[Common]\nLanguage=English\nAnimateMoves=0\n[GameStart]\nPlayer1=2\nPlayer2=0\n");
    TFormMain& form = NewWindow();
    for (QComboBox* kinds : {form.ComboBoxSpieler1, form.ComboBoxSpieler2}) {
        QStringList shown;
        for (int i = 0; i < kinds->count(); ++i)
            shown << kinds->itemText(i);
        QCOMPARE(shown, items);
        QCOMPARE(kinds->toolTip(), "Player type");
    }
    QCOMPARE(form.ComboBoxSpieler1->currentIndex(), int(pkZufall));
    QCOMPARE(form.ComboBoxSpieler2->currentIndex(), int(pkMensch));

    // The human (white) moves by hand, the random mover (black) answers.
    form.BitBtnWeiterClick();
    form.TimerAktualisierungTimer(); // the tick that lets the human touch the board
    Drag(*form.ChessBrd, E2, E4);
    QCOMPARE(form.ChessBrd->PieceAt(E4), 'P');
    QTRY_VERIFY_WITH_TIMEOUT(form.ChessBrd->WhiteToMove(), 10000);
    QCOMPARE(form.ChessBrd->CurrentMove(), 2);

    form.close();
    QCOMPARE(StoredValue("GameStart", "Player1"), "2");
    QCOMPARE(StoredValue("GameStart", "Player2"), "0");
}

void TestFormMainLanguage::aKindListShowingNoneStoresTheKindReadAtStart() {
    WriteIniFile(FDir, "[Common]\nLanguage=English\n[GameStart]\nPlayer1=1\nPlayer2=2\n");
    TFormMain& form = NewWindow();
    form.ComboBoxSpieler1->setCurrentIndex(-1);
    form.ComboBoxSpieler2->clear();
    form.close();
    QCOMPARE(StoredValue("GameStart", "Player1"), "1");
    QCOMPARE(StoredValue("GameStart", "Player2"), "2");
}

QTEST_MAIN(TestFormMainLanguage)
#include "tst_formmain_language.moc"
