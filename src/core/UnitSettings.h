#pragma once
// The program's settings: one variable per key of the settings file, read once at start, changed
// by the dialogs, and written back by the options dialog and at the end of the program.

#include <QRect>

class QWidget;
#include <QString>
#include <optional>

struct TSettings {
    // "Common"
    bool SaveOptions = false;
    bool SaveMainWin = false;
    bool PlaySound = false;
    bool PlayMusik = false;
    bool PlaySp = false;
    bool PlaySpMoves = false;
    QString SpDir;
    bool ShowMessages = false;
    bool ViewBreak = false;
    QString Language;
    bool ShowTips = false;
    bool ShowTipsRandom = false;
    bool AnimateMoves = false;
    int AnimationDelay = 0;
    int SDMF = 0;
    int PieceSet = 0;
    bool BrdAutoResize = false;
    bool ShowStatistik = false;
    bool ShowGameButtons = false;
    bool ShowHints = false;
    int GameModus = 0;
    int BlitzschachZeit = 0;
    int BlitzschachWarnung = 0;
    bool ShowPartiedaten = false;
    bool ModernDesign = false;

    // "BoardSettings"
    bool CoordinatesNorth = false;
    bool CoordinatesWest = false;
    bool CoordinatesEast = false;
    bool CoordinatesSouth = false;
    int FontColor = 0;
    QString FontName;
    int FontSize = 0;
    int BorderColor = 0;
    QString BorderBackgroundPicture;
    int BorderWidth = 0;
    int LightSquaresColor = 0;
    int DarkSquaresColor = 0;
    QString LightSquaresBackgroundPicture;
    QString DarkSquaresBackgroundPicture;
    bool Gridlines = false;
    bool BorderBackground = false;
    bool LightSquaresBackground = false;
    bool DarkSquaresBackground = false;
    int BrdSnapshotFormat = 0;
    int JpegQuality = 0;

    // "GameStart"
    int Level = 0;
    int Player1 = 0;
    int Player2 = 0;

    // "Test"
    bool Autoplay = false;
    int PlayedAutoGames = 0;
    bool ChangeLevel = false;

    // Not a key: the language was "Automatic" at start, so the selection dialog is due.
    bool LanguageAutomatic = false;
};

// The settings of this run; every window reads them directly.
TSettings& Settings();

// The ranges the dialogs allow; a value read outside them is moved to the nearest end.
namespace SettingRange {
inline constexpr int AnimationDelayMax = 25;
inline constexpr int MasterLevelMax = 3;
inline constexpr int PieceSetMax = 15;
inline constexpr int GameModusMax = 1;
inline constexpr int BlitzMinutesMax = 999;
inline constexpr int ColorMax = 0xFFFFFF;
inline constexpr int FontSizeMin = 4;
inline constexpr int FontSizeMax = 72;
inline constexpr int BorderWidthMax = 100;
inline constexpr int SnapshotFormatMax = 1;
inline constexpr int JpegQualityMin = 1;
inline constexpr int JpegQualityMax = 100;
inline constexpr int PlayerKindMax = 2;
} // namespace SettingRange

// Reads the "Common", "BoardSettings", "GameStart" and "Test" keys, in the order the program has
// always read them, into Settings(); sets LanguageAutomatic.
void ReadStartSettings();

// The playing level a "GameStart"/`Level` value selects: 0..4 for the menu items Anfänger, Mittel,
// Normal, Schwer and Master, with the board's search depth.
struct TLevelChoice {
    int LevelIndex;
    int SearchDepth;
};
inline constexpr int LevelMaster = 4;
TLevelChoice LevelFromSetting(int level, int masterLevel);

// The 17 "Common" keys the options dialog writes when it is confirmed, whatever SaveOptions says,
// saved together. False when the file could not be written (it then stays as it was).
bool WriteOptionsDialogSettings();

// What the windows contribute to the settings written at the end of the program.
struct TSideWindowState {
    bool Visible = false;
    QRect Geometry; // Left and Top always; Height and Width for the logbook only
};
struct TExitState {
    int Level = 3; // the board's current search depth
    int Player1 = 1;
    int Player2 = 0;
    QRect MainWindow;
    TSideWindowState PieceInGame, PieceOutOfGame, GameInfo;
};

// Writes the end-of-program settings when SaveOptions is set, saved together; nothing otherwise.
// False when the file could not be written (it then stays as it was).
bool WriteSettingsAtExit(const TExitState& state);

// Tells the user, once per file, that the settings file was refused for its size.
void ReportRefusedSettingsFile(QWidget* owner);
// Tells the user that the settings could not be saved and the file stayed as it was.
void ReportSettingsNotSaved(QWidget* owner);
