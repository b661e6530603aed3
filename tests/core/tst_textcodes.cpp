// Small text rules shared by the windows: which typed texts can be keys of the settings file, and
// texts in the Windows code page of older files.

#include "SettingsKey.h"
#include "Windows1252.h"

#include <QTest>

class TestTextCodes : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void settingsKeys_data();
    void settingsKeys();
    void windows1252RoundTrip();
    void windows1252OutsideTheCodePage();
};

void TestTextCodes::settingsKeys_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "Italienisch nach 5 Zügen" << true;
    QTest::newRow("inner blanks and brackets") << "Stellung [alt]; Variante" << true;
    QTest::newRow("leading blank") << " Endspiel" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("blanks only") << "   " << false;
    QTest::newRow("tab only") << "\t" << false;
    QTest::newRow("equals sign") << "a=b" << false;
    QTest::newRow("equals sign at the end") << "Stellung=" << false;
    QTest::newRow("line feed") << "zwei\nZeilen" << false;
    QTest::newRow("carriage return") << "zwei\rZeilen" << false;
    QTest::newRow("NUL") << QString("ab") + QChar(0) + "c" << false;
    QTest::newRow("section") << "[Common]" << false;
    QTest::newRow("section after blanks") << "  [Game" << false;
    QTest::newRow("comment") << "; nur ein Kommentar" << false;
}

void TestTextCodes::settingsKeys() {
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(IsValidSettingsKey(text), valid);
}

void TestTextCodes::windows1252RoundTrip() {
    const QString text = QString::fromUtf8("Jürgen – „Größe“ 5 € ÿ");
    const QByteArray bytes = EncodeWindows1252(text);
    QCOMPARE(bytes.size(), text.size());
    QCOMPARE(bytes, QByteArray("J\xFCrgen \x96 \x84Gr\xF6\xDF"
                               "e\x93 5 \x80 \xFF"));
    QCOMPARE(DecodeWindows1252(bytes), text);
}

void TestTextCodes::windows1252OutsideTheCodePage() {
    QCOMPARE(EncodeWindows1252(QString::fromUtf8("Ж♔x")), QByteArray("??x"));
    QCOMPARE(EncodeWindows1252(QString::fromUtf8("a😀b")), QByteArray("a?b")); // one character, one byte
    QCOMPARE(DecodeWindows1252(QByteArray("\x81\x8D")), QString(QChar(0x81)) + QChar(0x8D));
}

QTEST_GUILESS_MAIN(TestTextCodes)
#include "tst_textcodes.moc"
