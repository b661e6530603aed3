#include "DialogRecorder.h"
#include "FileSizeLimit.h"
#include "IniFile.h"
#include "SettingsFile.h"
#include "UnitFunctions.h"
#include "UnitPlayerWins.h"
#include "UnitSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteIni(const QString& text) {
    QFile file(SettingsFileName());
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write the settings file");
    file.write(text.toUtf8());
}

TIniFile LoadIni() {
    TIniFile ini;
    ini.Load(SettingsFileName());
    return ini;
}

QByteArray ReadBytes(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ManyStoredPositions(int count) {
    QByteArray text = "[Positions]\n";
    for (int i = 0; i < count; ++i) text += "Stellung " + QByteArray::number(i) + "=\"rnbqkbnr\"\n";
    return text;
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void typedReadsAndWrites();
    void unparsableValuesGiveTheDefault();
    void defaultsWithoutAFile();
    void valuesOutOfRangeAreClamped();
    void levelSelection_data();
    void levelSelection();
    void optionsDialogWritesItsKeysAlways();
    void exitWritesOnlyWithSaveOptions();
    void firstStartThenExitCreatesTheFile();
    void settingsMoveWhenProgramDirIsReadOnly();
    void aNulByteCostsOnlyItsLineAtExit();
    void aNameWithoutCountGetsNoWins();
    void aRewriteOfTheSameSizeIsSeen();
    void writesOfOneMomentAreSavedTogether();
    void anOversizedFileIsRefusedAndKept();
    void aFileWithoutEndIsRefused();
    void aFailedSaveAtExitIsReported();
    void dataPathsResolveCaseAndBackslashes();

private:
    QTemporaryDir FDir;
};

void TestSettings::init() {
    QVERIFY(FDir.isValid());
    QFile::remove(FDir.filePath("tessaron.ini"));
    SetProgramDir(FDir.path());
    Settings() = TSettings{};
}

void TestSettings::cleanup() { SetProgramDir({}); }

void TestSettings::typedReadsAndWrites() {
    QVERIFY(WriteSetting("Common", "AnimationDelay", 12));
    QVERIFY(WriteSetting("Common", "PlaySound", false));
    QVERIFY(WriteSetting("Common", "SpDir", QString("SOUND\\SPRACHE\\")));
    QCOMPARE(ReadSetting("common", "animationdelay", 5), 12);
    QCOMPARE(ReadSetting("Common", "PlaySound", true), false);
    QCOMPARE(ReadSetting("Common", "SpDir", "x"), QString("SOUND\\SPRACHE\\"));
    QCOMPARE(LoadIni().RawValue("Common", "PlaySound"), "0");
    QVERIFY(WriteSetting("Common", "PlaySound", true));
    QCOMPARE(LoadIni().RawValue("Common", "PlaySound"), "1");
    // a value written is visible to the next read at once, even from a changed file
    WriteIni("[Common]\nAnimationDelay=3\n");
    QCOMPARE(ReadSetting("Common", "AnimationDelay", 5), 3);
}

void TestSettings::unparsableValuesGiveTheDefault() {
    WriteIni("[Common]\nAnimationDelay=fast\nPlaySound=yes\nShowTips=2\nSDMF=\nBorder=12px\n");
    QCOMPARE(ReadSetting("Common", "AnimationDelay", 5), 5);
    QCOMPARE(ReadSetting("Common", "PlaySound", false), false);
    QCOMPARE(ReadSetting("Common", "PlaySound", true), true);
    QCOMPARE(ReadSetting("Common", "ShowTips", false), true); // any number but 0 is true
    QCOMPARE(ReadSetting("Common", "SDMF", 2), 2);
    QCOMPARE(ReadSetting("Common", "Border", 24), 24);
    QCOMPARE(ReadSetting("Common", "Missing", "default"), QString("default"));
    QCOMPARE(ReadSetting("Nowhere", "Missing", 7), 7);
}

void TestSettings::defaultsWithoutAFile() {
    ReadStartSettings();
    const TSettings& s = Settings();
    QVERIFY(s.SaveOptions);
    QVERIFY(!s.SaveMainWin);
    QVERIFY(s.PlaySound && s.PlayMusik && !s.PlaySp && !s.PlaySpMoves);
    QCOMPARE(s.SpDir, "SOUND\\SPRACHE\\");
    QCOMPARE(s.Language, "Automatic");
    QVERIFY(s.LanguageAutomatic);
    QCOMPARE(s.AnimationDelay, 5);
    QCOMPARE(s.BlitzschachZeit, 30);
    QCOMPARE(s.BlitzschachWarnung, 1);
    QCOMPARE(s.FontColor, 16777215);
    QCOMPARE(s.FontName, "Arial");
    QCOMPARE(s.FontSize, 7);
    QCOMPARE(s.BorderColor, 32896);
    QCOMPARE(s.BorderWidth, 24);
    QCOMPARE(s.LightSquaresColor, 12632256);
    QCOMPARE(s.DarkSquaresColor, 8421504);
    QCOMPARE(s.BorderBackgroundPicture, ProgramDir() + "data\\backgrnd\\marmor_border.bmp");
    QCOMPARE(s.JpegQuality, 80);
    QCOMPARE(s.Level, 3);
    QCOMPARE(s.Player1, 1);
    QCOMPARE(s.Player2, 0);
    QVERIFY(!s.Gridlines);
    QVERIFY(!QFile::exists(SettingsFileName())); // reading creates nothing
}

void TestSettings::valuesOutOfRangeAreClamped() {
    WriteIni("[Common]\nAnimationDelay=100000\nSDMF=-4\nPieceSet=99\nGameModus=7\nBlitzschachZeit=5000\n"
             "BlitzschachWarnung=-1\nLanguage=English\n"
             "[BoardSettings]\nBorderWidth=-3\nFont.Size=0\nJpegQuality=0\nBorderColor=-1\n"
             "LightSquaresColor=99999999\nBrdSnapshotFormat=4\n"
             "[GameStart]\nPlayer1=9\nPlayer2=-2\nLevel=42\n");
    ReadStartSettings();
    const TSettings& s = Settings();
    QCOMPARE(s.AnimationDelay, 25);
    QCOMPARE(s.SDMF, 0);
    QCOMPARE(s.PieceSet, 15);
    QCOMPARE(s.GameModus, 1);
    QCOMPARE(s.BlitzschachZeit, 999);
    QCOMPARE(s.BlitzschachWarnung, 0);
    QCOMPARE(s.BorderWidth, 0);
    QCOMPARE(s.FontSize, SettingRange::FontSizeMin);
    QCOMPARE(s.JpegQuality, 1);
    QCOMPARE(s.BorderColor, 0);
    QCOMPARE(s.LightSquaresColor, 0xFFFFFF);
    QCOMPARE(s.BrdSnapshotFormat, 1);
    QCOMPARE(s.Player1, 2);
    QCOMPARE(s.Player2, 0);
    QCOMPARE(s.Level, 42); // left alone: the level choice falls back to normal
    QVERIFY(!s.LanguageAutomatic);
}

void TestSettings::levelSelection_data() {
    QTest::addColumn<int>("level");
    QTest::addColumn<int>("sdmf");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("depth");
    QTest::newRow("beginner") << 1 << 0 << 0 << 1;
    QTest::newRow("hard") << 4 << 3 << 3 << 4;
    QTest::newRow("7 is master, depth from SDMF") << 7 << 1 << LevelMaster << 6;
    QTest::newRow("5 with SDMF 3") << 5 << 3 << LevelMaster << 8;
    QTest::newRow("8 with SDMF 0") << 8 << 0 << LevelMaster << 5;
    QTest::newRow("0 is normal") << 0 << 2 << 2 << 3;
    QTest::newRow("9 is normal") << 9 << 2 << 2 << 3;
    QTest::newRow("negative is normal") << -1 << 0 << 2 << 3;
}

void TestSettings::levelSelection() {
    QFETCH(int, level);
    QFETCH(int, sdmf);
    QFETCH(int, index);
    QFETCH(int, depth);
    WriteIni(QString("[Common]\nSDMF=%1\n[GameStart]\nLevel=%2\n").arg(sdmf).arg(level));
    ReadStartSettings();
    const TLevelChoice choice = LevelFromSetting(Settings().Level, Settings().SDMF);
    QCOMPARE(choice.LevelIndex, index);
    QCOMPARE(choice.SearchDepth, depth);
}

void TestSettings::optionsDialogWritesItsKeysAlways() {
    ReadStartSettings();
    Settings().SaveOptions = false;
    Settings().SDMF = 2;
    Settings().SpDir = "/home/spieler/sprache/";
    WriteOptionsDialogSettings();
    const TIniFile ini = LoadIni();
    QCOMPARE(ini.Sections(), QStringList({"Common"}));
    QCOMPARE(ini.Keys("Common"),
             QStringList({"SaveOptions", "SaveMainWin", "ShowMessages", "ViewBreak", "BrdAutoResize", "ShowHints",
                          "ModernDesign", "Language", "PlaySound", "PlayMusik", "PlaySp", "PlaySpMoves", "SpDir",
                          "SDMF", "GameModus", "BlitzschachZeit", "BlitzschachWarnung"}));
    QCOMPARE(ini.Value("Common", "SaveOptions"), "0");
    QCOMPARE(ini.Value("Common", "SDMF"), "2");
    QCOMPARE(ini.Value("Common", "SpDir"), "/home/spieler/sprache/");
}

void TestSettings::exitWritesOnlyWithSaveOptions() {
    ReadStartSettings();
    Settings().SaveOptions = false;
    WriteSettingsAtExit({});
    QVERIFY(!QFile::exists(SettingsFileName()));
}

void TestSettings::firstStartThenExitCreatesTheFile() {
    ReadStartSettings();
    TExitState state;
    state.Level = 6;
    state.Player1 = 2;
    state.GameInfo = {true, QRect(10, 20, 300, 400)};
    WriteSettingsAtExit(state);
    const TIniFile ini = LoadIni();
    QCOMPARE(ini.Sections(),
             QStringList({"Common", "BoardSettings", "GameStart", "PieceInGame", "PieceOutOfGame", "GameInfo"}));
    QCOMPARE(ini.Keys("Common").size(), 22);
    QVERIFY(!ini.HasKey("Common", "SpDir")); // written only by the options dialog
    QVERIFY(!ini.HasKey("Common", "PlaySpMoves"));
    QCOMPARE(ini.Keys("BoardSettings").size(), 20);
    QCOMPARE(ini.Value("BoardSettings", "Font.Name"), "Arial");
    QCOMPARE(ini.Keys("GameStart"), QStringList({"Level", "Player1", "Player2"}));
    QCOMPARE(ini.Value("GameStart", "Level"), "6");
    QCOMPARE(ini.Value("GameStart", "Player1"), "2");
    QCOMPARE(ini.Keys("PieceInGame"), QStringList({"Window"}));
    QCOMPARE(ini.Value("PieceInGame", "Window"), "0");
    QCOMPARE(ini.Keys("GameInfo"), QStringList({"Window", "Left", "Top", "Height", "Width"}));
    QCOMPARE(ini.Value("GameInfo", "Height"), "400");
    QVERIFY(!ini.HasSection("MainWindow"));
    // and the next start reads back what was written
    Settings() = TSettings{};
    ReadStartSettings();
    QCOMPARE(Settings().Level, 6);
    QCOMPARE(Settings().FontName, "Arial");
}

void TestSettings::settingsMoveWhenProgramDirIsReadOnly() {
    // A folder below /proc can never be created or written, whoever runs the test.
    const QByteArray oldConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", FDir.filePath("config").toUtf8());
    SetProgramDir("/proc/tessaron-installed/");
    QCOMPARE(SettingsFileName(), FDir.filePath("config/tessaron/tessaron.ini"));
    QVERIFY(WriteSetting("Common", "SDMF", 2));
    QCOMPARE(ReadSetting("Common", "SDMF", 0), 2);
    qputenv("XDG_CONFIG_HOME", oldConfig);
}

void TestSettings::dataPathsResolveCaseAndBackslashes() {
    QDir(FDir.path()).mkpath("lang/German");
    QDir(FDir.path()).mkpath("SOUND/SPRACHE");
    QFile(FDir.filePath("lang/German/learnprg.dat")).open(QIODevice::WriteOnly);
    QFile(FDir.filePath("SOUND/SPRACHE/E2.WAV")).open(QIODevice::WriteOnly);
    const QString dir = ProgramDir();
    QCOMPARE(ResolvePath("Lang\\German\\LEARNPRG.DAT"), dir + "lang/German/learnprg.dat");
    QCOMPARE(ResolvePath("sound\\sprache\\e2.wav"), dir + "SOUND/SPRACHE/E2.WAV");
    QCOMPARE(ResolvePath("SOUND\\SPRACHE\\"), dir + "SOUND/SPRACHE/");
    QCOMPARE(ResolvePath(dir + "Lang/German"), dir + "lang/German");
    QCOMPARE(ResolvePath("Lang\\Missing.lng"), dir + "lang/Missing.lng"); // the part that exists is matched
    QCOMPARE(ResolvePath(""), "");
}

void TestSettings::aNulByteCostsOnlyItsLineAtExit() {
    static const char common[] = "[Common]\nSDMF=2\nViewBreak=0\0\n";
    const QByteArray text = QByteArray(common, sizeof common - 1) + ManyStoredPositions(50) +
                            "[PlayerStatistic.Win]\nAlice=12\nBob=3\n";
    QFile file(SettingsFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    ReadStartSettings();
    QCOMPARE(Settings().SDMF, 2);
    QVERIFY(!Settings().ViewBreak);
    QVERIFY(WriteSettingsAtExit({}));
    const TIniFile ini = LoadIni();
    QCOMPARE(ini.Keys("Positions").size(), 50);
    QCOMPARE(ini.Value("Positions", "Stellung 49"), "rnbqkbnr");
    QCOMPARE(ReadWins(), QList<TPlayerWins>({{"Alice", 12}, {"Bob", 3}}));
    QVERIFY(!ReadBytes(SettingsFileName()).contains('\0'));
}

void TestSettings::aNameWithoutCountGetsNoWins() {
    WriteIni("[PlayerStatistic.Win]\nAlice=12\nBob\n");
    QCOMPARE(ReadWins(), QList<TPlayerWins>({{"Alice", 12}}));
    QVERIFY(AddWin("Alice"));
    QCOMPARE(ReadBytes(SettingsFileName()), "[PlayerStatistic.Win]\nAlice=13\nBob\n");
}

void TestSettings::aRewriteOfTheSameSizeIsSeen() {
    // Two rewrites within one tick of the file clock look alike by size and time; the content decides.
    for (int round = 0; round < 3; ++round) {
        WriteIni(QString("[Common]\nSDMF=%1\n").arg(round));
        QCOMPARE(ReadSetting("Common", "SDMF", 9), round);
    }
    QVERIFY(WriteSetting("Common", "SDMF", 3));
    WriteIni("[Common]\nSDMF=1\n");
    QVERIFY(WriteSetting("Common", "PlaySound", true)); // written on top of the new file, not the old one
    QCOMPARE(ReadBytes(SettingsFileName()), "[Common]\nSDMF=1\nPlaySound=1\n");
}

void TestSettings::writesOfOneMomentAreSavedTogether() {
    WriteIni("[Common]\nSDMF=1\n");
    QCOMPARE(ReadSetting("Common", "SDMF", 0), 1);
    WriteIni("[Common]\nSDMF=2\n[Game]\nPosition=x\n"); // changed after the last read
    const QByteArray before = ReadBytes(SettingsFileName());
    const bool saved = WriteSettingsTogether([&] {
        const bool written = WriteSetting("Common", "PlaySound", false) && WriteSetting("Common", "SDMF", 3);
        [&] {
            QCOMPARE(ReadSetting("Common", "SDMF", 0), 3); // reads inside see the pending values
            QCOMPARE(ReadBytes(SettingsFileName()), before);
        }();
        return written;
    });
    QVERIFY(saved);
    QCOMPARE(ReadBytes(SettingsFileName()), "[Common]\nSDMF=3\nPlaySound=0\n\n\n[Game]\nPosition=x\n");
}

void TestSettings::anOversizedFileIsRefusedAndKept() {
    QDir(FDir.path()).mkpath("oversized");
    SetProgramDir(FDir.filePath("oversized"));
    QFile file(SettingsFileName());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Common]\nSDMF=2\nLanguage=English\n");
    QVERIFY(file.resize(MaxSettingsFileSize + 1)); // the rest reads as NUL bytes
    file.close();
    const QByteArray head = ReadBytes(SettingsFileName()).left(64);

    ReadStartSettings();
    QCOMPARE(Settings().SDMF, 0); // the defaults apply
    QCOMPARE(Settings().Language, "Automatic");
    QVERIFY(!WriteSetting("Common", "SDMF", 3));
    QVERIFY(!WriteSettingsAtExit({}));
    QVERIFY(!AddWin("Alice"));
    QCOMPARE(QFileInfo(SettingsFileName()).size(), MaxSettingsFileSize + 1);
    QCOMPARE(ReadBytes(SettingsFileName()).left(64), head);

    DialogRecorder dialogs;
    ReportRefusedSettingsFile(nullptr);
    ReportRefusedSettingsFile(nullptr);
    QCOMPARE(dialogs.Messages.size(), 1); // said once
    QVERIFY(dialogs.Messages.first().Text.contains(SettingsFileName()));
    QVERIFY(dialogs.Messages.first().Text.contains("16 MB"));
}

void TestSettings::aFileWithoutEndIsRefused() {
    QDir(FDir.path()).mkpath("endless");
    SetProgramDir(FDir.filePath("endless"));
    QVERIFY(QFile::link("/dev/zero", SettingsFileName()));
    QCOMPARE(ReadSetting("Common", "SDMF", 1), 1);
    QVERIFY(!WriteSetting("Common", "SDMF", 2));
    QCOMPARE(RefusedSettingsFile(), SettingsFileName());
    QVERIFY(QFileInfo(SettingsFileName()).isSymLink());
}

void TestSettings::aFailedSaveAtExitIsReported() {
    WriteIni("[Common]\nSDMF=2\n" + ManyStoredPositions(20));
    const QByteArray before = ReadBytes(SettingsFileName());
    ReadStartSettings();
    Settings().SDMF = 3;
    bool written = true;
    {
        const FileSizeLimit diskFull(before.size() / 2);
        written = WriteSettingsAtExit({});
    }
    QVERIFY(!written);
    QCOMPARE(ReadBytes(SettingsFileName()), before);
    QCOMPARE(ReadSetting("Common", "SDMF", 0), 2); // what is read is what the disk holds

    DialogRecorder dialogs;
    ReportSettingsNotSaved(nullptr);
    QCOMPARE(dialogs.Messages.size(), 1);
    QVERIFY(dialogs.Messages.first().Text.contains(SettingsFileName()));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
