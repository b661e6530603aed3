#include "IniFile.h"
#include "UnitFunctions.h"
#include "UnitSettings.h"

#include <QDir>
#include <QFile>
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

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
