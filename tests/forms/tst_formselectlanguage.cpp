#include "DialogRecorder.h"
#include "UnitFormSelectLanguage.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

class TestFormSelectLanguage : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void showsTheLanguagesWithTheCurrentOneSelected();
    void okSwitchesLanguageAndStoresTheChoice();
    void automaticStaysAutomatic();
    void cancelChangesNothing();

private:
    // Shows the dialog modally and lets `act` work on it while it is open.
    int RunDialog(const std::function<void(TFormSelectLanguage&)>& act);
    QTemporaryDir FDir;
};

void TestFormSelectLanguage::init() {
    SetProgramDir(FDir.path());
    QDir(FDir.path()).mkpath("Lang");
    QFile cfg(FDir.filePath("Lang/Languages.cfg"));
    QVERIFY(cfg.open(QIODevice::WriteOnly));
    cfg.write("German: $0407\nEnglish: $0409\n");
    cfg.close();
    QFile english(FDir.filePath("Lang/English.lng"));
    QVERIFY(english.open(QIODevice::WriteOnly));
    english.write("10=&OK\n11=&Cancel\n10000=Select language\n10001=Choose the program's language\n");
    english.close();
    QFile german(FDir.filePath("Lang/German.lng"));
    QVERIFY(german.open(QIODevice::WriteOnly));
    german.write("10000=Sprache auswählen\n");
    german.close();
    SetSystemLanguageId(0x0409);
    Settings() = TSettings{};
    Settings().Language = "German";
    FormSelectLanguage = new TFormSelectLanguage;
}

void TestFormSelectLanguage::cleanup() {
    delete FormSelectLanguage;
    FormSelectLanguage = nullptr;
    CloseLanguageFile();
    SetSystemLanguageId(0);
    SetProgramDir({});
}

int TestFormSelectLanguage::RunDialog(const std::function<void(TFormSelectLanguage&)>& act) {
    QTimer::singleShot(0, FormSelectLanguage, [act] { act(*FormSelectLanguage); });
    return FormSelectLanguage->exec();
}

void TestFormSelectLanguage::showsTheLanguagesWithTheCurrentOneSelected() {
    QStringList items;
    RunDialog([&](TFormSelectLanguage& form) {
        for (int i = 0; i < form.ComboBoxSprache->count(); ++i) items << form.ComboBoxSprache->itemText(i);
        QCOMPARE(form.ComboBoxSprache->currentText(), "German");
        QCOMPARE(form.windowTitle(), QString::fromUtf8("Sprache auswählen"));
        form.ButtonCancel->click();
    });
    QCOMPARE(items, QStringList({"Automatic", "English", "German"}));
}

void TestFormSelectLanguage::okSwitchesLanguageAndStoresTheChoice() {
    const int result = RunDialog([](TFormSelectLanguage& form) {
        form.ComboBoxSprache->setCurrentText("English");
        QTest::mouseClick(form.ButtonOk, Qt::LeftButton);
    });
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(Settings().Language, "English");
    QCOMPARE(ActiveLanguageFile(), "English");
    QCOMPARE(FormSelectLanguage->windowTitle(), "Select language");
    QCOMPARE(FormSelectLanguage->ButtonOk->text(), "&OK");
    QCOMPARE(FormSelectLanguage->LabelSprachwahl->text(), "Choose the program's language");
}

void TestFormSelectLanguage::automaticStaysAutomatic() {
    RunDialog([](TFormSelectLanguage& form) {
        form.ComboBoxSprache->setCurrentText("Automatic");
        form.ButtonOk->click();
    });
    QCOMPARE(Settings().Language, "Automatic");
    QCOMPARE(ActiveLanguageFile(), "English"); // the system language is English here
}

void TestFormSelectLanguage::cancelChangesNothing() {
    const int result = RunDialog([](TFormSelectLanguage& form) {
        form.ComboBoxSprache->setCurrentText("English");
        form.ButtonCancel->click();
    });
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(Settings().Language, "German");
    QCOMPARE(ActiveLanguageFile(), "");
}

QTEST_MAIN(TestFormSelectLanguage)
#include "tst_formselectlanguage.moc"
