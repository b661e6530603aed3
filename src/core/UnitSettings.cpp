#include "UnitSettings.h"

#include "SettingsFile.h"
#include "UnitDialogFunctions.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"

#include <QDir>
#include <algorithm>
#include <variant>
#include <vector>

namespace {

constexpr auto Common = "Common";
constexpr auto BoardSettings = "BoardSettings";
constexpr auto GameStart = "GameStart";
constexpr auto TestSection = "Test";

// One key of the settings file: where it lives, which variable holds it, its default and, for
// integers, the range a value is held to.
template <typename T>
struct Key {
    const char* Section;
    const char* Name;
    T TSettings::*Member;
    T Default;
    int Min = 0;
    int Max = 0;
};
// A text default that names a file in the program's folder.
struct PathKey {
    const char* Section;
    const char* Name;
    QString TSettings::*Member;
    const char* RelativeDefault;
};
using AnyKey = std::variant<Key<bool>, Key<int>, Key<QString>, PathKey>;

using namespace SettingRange;

// Every key, in the order they are read at start.
const std::vector<AnyKey>& StartKeys() {
    static const std::vector<AnyKey> keys = {
        Key<bool>{Common, "SaveOptions", &TSettings::SaveOptions, true},
        Key<bool>{Common, "SaveMainWin", &TSettings::SaveMainWin, false},
        Key<bool>{Common, "PlaySound", &TSettings::PlaySound, true},
        Key<bool>{Common, "PlayMusik", &TSettings::PlayMusik, true},
        Key<bool>{Common, "PlaySp", &TSettings::PlaySp, false},
        Key<bool>{Common, "PlaySpMoves", &TSettings::PlaySpMoves, false},
        Key<QString>{Common, "SpDir", &TSettings::SpDir, "SOUND\\SPRACHE\\"},
        Key<bool>{Common, "ShowMessages", &TSettings::ShowMessages, true},
        Key<bool>{Common, "ViewBreak", &TSettings::ViewBreak, true},
        Key<QString>{Common, "Language", &TSettings::Language, "Automatic"},
        Key<bool>{Common, "ShowTips", &TSettings::ShowTips, true},
        Key<bool>{Common, "ShowTipsRandom", &TSettings::ShowTipsRandom, false},
        Key<bool>{Common, "AnimateMoves", &TSettings::AnimateMoves, true},
        Key<int>{Common, "AnimationDelay", &TSettings::AnimationDelay, 5, 0, AnimationDelayMax},
        Key<int>{Common, "SDMF", &TSettings::SDMF, 0, 0, MasterLevelMax},
        Key<int>{Common, "PieceSet", &TSettings::PieceSet, 0, 0, PieceSetMax},
        Key<bool>{Common, "BrdAutoResize", &TSettings::BrdAutoResize, true},
        Key<bool>{Common, "ShowStatistik", &TSettings::ShowStatistik, true},
        Key<bool>{Common, "ShowGameButtons", &TSettings::ShowGameButtons, true},
        Key<bool>{Common, "ShowHints", &TSettings::ShowHints, true},
        Key<int>{Common, "GameModus", &TSettings::GameModus, 0, 0, GameModusMax},
        Key<int>{Common, "BlitzschachZeit", &TSettings::BlitzschachZeit, 30, 0, BlitzMinutesMax},
        Key<int>{Common, "BlitzschachWarnung", &TSettings::BlitzschachWarnung, 1, 0, BlitzMinutesMax},
        Key<bool>{Common, "ShowPartiedaten", &TSettings::ShowPartiedaten, true},
        Key<bool>{Common, "ModernDesign", &TSettings::ModernDesign, true},

        Key<bool>{BoardSettings, "CoordinatesNorth", &TSettings::CoordinatesNorth, true},
        Key<bool>{BoardSettings, "CoordinatesWest", &TSettings::CoordinatesWest, true},
        Key<bool>{BoardSettings, "CoordinatesEast", &TSettings::CoordinatesEast, true},
        Key<bool>{BoardSettings, "CoordinatesSouth", &TSettings::CoordinatesSouth, true},
        Key<int>{BoardSettings, "Font.Color", &TSettings::FontColor, 16777215, 0, ColorMax},
        Key<QString>{BoardSettings, "Font.Name", &TSettings::FontName, "Arial"},
        Key<int>{BoardSettings, "Font.Size", &TSettings::FontSize, 7, FontSizeMin, FontSizeMax},
        Key<int>{BoardSettings, "BorderColor", &TSettings::BorderColor, 32896, 0, ColorMax},
        PathKey{BoardSettings, "BorderBackgroundPicture", &TSettings::BorderBackgroundPicture,
                "data\\backgrnd\\marmor_border.bmp"},
        Key<int>{BoardSettings, "BorderWidth", &TSettings::BorderWidth, 24, 0, BorderWidthMax},
        Key<int>{BoardSettings, "LightSquaresColor", &TSettings::LightSquaresColor, 12632256, 0, ColorMax},
        Key<int>{BoardSettings, "DarkSquaresColor", &TSettings::DarkSquaresColor, 8421504, 0, ColorMax},
        PathKey{BoardSettings, "LightSquaresBackgroundPicture", &TSettings::LightSquaresBackgroundPicture,
                "data\\backgrnd\\marmor_light.bmp"},
        PathKey{BoardSettings, "DarkSquaresBackgroundPicture", &TSettings::DarkSquaresBackgroundPicture,
                "data\\backgrnd\\marmor_dark.bmp"},
        Key<bool>{BoardSettings, "Gridlines", &TSettings::Gridlines, false},
        Key<bool>{BoardSettings, "BorderBackground", &TSettings::BorderBackground, true},
        Key<bool>{BoardSettings, "LightSquaresBackground", &TSettings::LightSquaresBackground, true},
        Key<bool>{BoardSettings, "DarkSquaresBackground", &TSettings::DarkSquaresBackground, true},
        Key<int>{BoardSettings, "BrdSnapshotFormat", &TSettings::BrdSnapshotFormat, 0, 0, SnapshotFormatMax},
        Key<int>{BoardSettings, "JpegQuality", &TSettings::JpegQuality, 80, JpegQualityMin, JpegQualityMax},

        // Level is not held to a range: an unknown level selects the normal one.
        Key<int>{GameStart, "Level", &TSettings::Level, 3, INT_MIN, INT_MAX},
        Key<int>{GameStart, "Player1", &TSettings::Player1, 1, 0, PlayerKindMax},
        Key<int>{GameStart, "Player2", &TSettings::Player2, 0, 0, PlayerKindMax},

        Key<bool>{TestSection, "Autoplay", &TSettings::Autoplay, false},
        Key<int>{TestSection, "PlayedAutoGames", &TSettings::PlayedAutoGames, 0, 0, INT_MAX},
        Key<bool>{TestSection, "ChangeLevel", &TSettings::ChangeLevel, false},
    };
    return keys;
}

const char* NameOf(const AnyKey& key) {
    return std::visit([](const auto& k) { return k.Name; }, key);
}

const AnyKey& FindKey(const char* section, const char* name) {
    for (const AnyKey& key : StartKeys()) {
        const bool same = std::visit(
            [&](const auto& k) { return QLatin1String(k.Section) == QLatin1String(section); }, key);
        if (same && QLatin1String(NameOf(key)) == QLatin1String(name)) return key;
    }
    qFatal("unknown settings key %s/%s", section, name);
}

void ReadKey(const AnyKey& any) {
    TSettings& s = Settings();
    if (const auto* k = std::get_if<Key<bool>>(&any)) s.*(k->Member) = ReadSetting(k->Section, k->Name, k->Default);
    if (const auto* k = std::get_if<Key<int>>(&any))
        s.*(k->Member) = std::clamp(ReadSetting(k->Section, k->Name, k->Default), k->Min, k->Max);
    if (const auto* k = std::get_if<Key<QString>>(&any))
        s.*(k->Member) = ReadSetting(k->Section, k->Name, k->Default);
    if (const auto* k = std::get_if<PathKey>(&any))
        s.*(k->Member) = ReadSetting(k->Section, k->Name, ProgramDir() + k->RelativeDefault);
}

bool WriteKey(const AnyKey& any) {
    const TSettings& s = Settings();
    return std::visit([&s](const auto& k) { return WriteSetting(k.Section, k.Name, s.*(k.Member)); }, any);
}

// Inside one batch of writes a write fails only when the file is refused, and then all of them do.
bool WriteKeys(const char* section, std::initializer_list<const char*> names) {
    return std::all_of(names.begin(), names.end(),
                       [section](const char* name) { return WriteKey(FindKey(section, name)); });
}

bool WriteIntegers(const char* section, std::initializer_list<std::pair<const char*, int>> values) {
    return std::all_of(values.begin(), values.end(), [section](const auto& value) {
        return WriteSetting(section, value.first, value.second);
    });
}

bool WriteBoardSettings() {
    const auto& keys = StartKeys();
    return std::all_of(keys.begin(), keys.end(), [](const AnyKey& key) {
        const bool board = std::visit(
            [](const auto& k) { return QLatin1String(k.Section) == QLatin1String(BoardSettings); }, key);
        return !board || WriteKey(key);
    });
}

bool WriteSideWindow(const char* section, const TSideWindowState& window, bool withSize) {
    if (!WriteSetting(section, "Window", window.Visible)) return false;
    if (!window.Visible) return true;
    const QRect& g = window.Geometry;
    return WriteIntegers(section, {{"Left", g.left()}, {"Top", g.top()}}) &&
           (!withSize || WriteIntegers(section, {{"Height", g.height()}, {"Width", g.width()}}));
}

bool WriteMainWindow(const QRect& main) {
    if (!Settings().SaveMainWin) return true;
    return WriteIntegers(
        "MainWindow",
        {{"Left", main.left()}, {"Top", main.top()}, {"Height", main.height()}, {"Width", main.width()}});
}

bool WriteExitKeys(const TExitState& state) {
    return WriteKeys(Common, {"SaveOptions", "SaveMainWin", "PlaySound", "PlayMusik", "PlaySp", "ShowMessages",
                              "ViewBreak", "ShowTips", "ShowTipsRandom", "AnimateMoves", "AnimationDelay", "SDMF",
                              "PieceSet", "BrdAutoResize", "ShowStatistik", "ShowGameButtons", "ShowHints",
                              "GameModus", "BlitzschachZeit", "ShowPartiedaten", "ModernDesign", "Language"}) &&
           WriteBoardSettings() && WriteSetting(GameStart, "Level", state.Level) &&
           WriteMainWindow(state.MainWindow) && WriteSideWindow("PieceInGame", state.PieceInGame, false) &&
           WriteSideWindow("PieceOutOfGame", state.PieceOutOfGame, false) &&
           WriteSideWindow("GameInfo", state.GameInfo, true) &&
           WriteIntegers(GameStart, {{"Player1", state.Player1}, {"Player2", state.Player2}});
}

} // namespace

TSettings& Settings() {
    static TSettings settings;
    return settings;
}

void ReadStartSettings() {
    for (const AnyKey& key : StartKeys()) ReadKey(key);
    Settings().LanguageAutomatic = Settings().Language == "Automatic";
}

TLevelChoice LevelFromSetting(int level, int masterLevel) {
    constexpr int NormalIndex = 2;
    constexpr int NormalDepth = 3;
    constexpr int MasterBaseDepth = 5;
    if (level >= 1 && level <= 4) return {level - 1, level};
    if (level >= 5 && level <= 8)
        return {LevelMaster, MasterBaseDepth + std::clamp(masterLevel, 0, SettingRange::MasterLevelMax)};
    return {NormalIndex, NormalDepth};
}

bool WriteOptionsDialogSettings() {
    return WriteSettingsTogether([] {
        return WriteKeys(Common, {"SaveOptions", "SaveMainWin", "ShowMessages", "ViewBreak", "BrdAutoResize",
                                  "ShowHints", "ModernDesign", "Language", "PlaySound", "PlayMusik", "PlaySp",
                                  "PlaySpMoves", "SpDir", "SDMF", "GameModus", "BlitzschachZeit",
                                  "BlitzschachWarnung"});
    });
}

bool WriteSettingsAtExit(const TExitState& state) {
    if (!Settings().SaveOptions) return true;
    // One save for all of them: with many stored positions the file is large.
    return WriteSettingsTogether([&state] { return WriteExitKeys(state); });
}

void ReportRefusedSettingsFile(QWidget* owner) {
    static QString reported;
    const QString refused = RefusedSettingsFile();
    if (refused.isEmpty() || refused == reported) return;
    reported = refused;
    const QString text = LoadLangString(5100, "Die Einstellungsdatei %s ist größer als %d MB und wird nicht benutzt. "
                                              "Es gelten die Voreinstellungen, und die Datei wird nicht überschrieben.");
    constexpr qint64 BytesPerMB = 1024 * 1024;
    ShowCenteredMessage(QString(text)
                            .replace("%d", QString::number(MaxSettingsFileSize / BytesPerMB))
                            .replace("%s", QDir::toNativeSeparators(refused)),
                        TMsgDlgType::mtWarning, mbOK, owner);
}

void ReportSettingsNotSaved(QWidget* owner) {
    // A refused file is left alone on purpose, and the user was told so at start.
    if (RefusedSettingsFile() == SettingsFileName()) return;
    const QString text = LoadLangString(5101, "Die Einstellungen konnten nicht in %s gespeichert werden. "
                                              "Die Datei ist unverändert geblieben.");
    ShowCenteredMessage(QString(text).replace("%s", QDir::toNativeSeparators(SettingsFileName())),
                        TMsgDlgType::mtWarning, mbOK, owner);
}
