#include "TextGameFile.h"

#include "IniFile.h"
#include "PositionCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QVersionNumber>
#include <algorithm>
#include <array>

namespace {

constexpr int BlackColor = 1;
constexpr int HighestPlayerKind = 2;
constexpr auto MovePrefix = "Pos";

// Every section a game file of this form may hold; a file without any of them is no game.
constexpr std::array<const char*, 7> GameSections = {"Common",     "Start",       "CastlingAllowed", "Game",
                                                     "SquareList", "TimePlayer1", "TimePlayer2"};

// The settings-file reader's rules: an integer is decimal, a boolean an integer other than 0, and a
// value that is no number gives the default.
int ReadInteger(const TIniFile& ini, const char* section, const QString& key, int fallback) {
    bool ok = false;
    const int value = ini.Value(section, key).toInt(&ok, 10);
    return ok ? value : fallback;
}

bool ReadBoolean(const TIniFile& ini, const char* section, const char* key, bool fallback) {
    return ReadInteger(ini, section, key, fallback ? 1 : 0) != 0;
}

// The rules know the start position also by these names.
bool NamesStartPosition(const QString& text) {
    return text.compare("init", Qt::CaseInsensitive) == 0 ||
           text.compare("newgame", Qt::CaseInsensitive) == 0;
}

bool IsPlacement(const QString& text) { return IsPositionString(text.toStdString()); }

Square SquareNamed(const QString& name) {
    const QByteArray latin = name.toLatin1();
    return SquareIndex(std::string_view(latin.constData(), static_cast<size_t>(latin.size())));
}

// "E2-E4": the from-square in characters 1 and 2, the to-square in 4 and 5 (character 3 is not read).
TMoveSquares MoveFromText(const QString& text) {
    return {SquareNamed(text.mid(0, 2)), SquareNamed(text.mid(3, 2))};
}

CastleSet ReadCastling(const TIniFile& ini) {
    constexpr struct {
        const char* Key;
        CanStillCastle Right;
    } Rights[] = {{"WhiteKingSide", WhiteKingSide},
                  {"WhiteQueenSide", WhiteQueenSide},
                  {"BlackKingSide", BlackKingSide},
                  {"BlackQueenSide", BlackQueenSide}};
    CastleSet rights = 0;
    for (const auto& right : Rights)
        if (ReadBoolean(ini, "CastlingAllowed", right.Key, true)) rights |= right.Right;
    return rights;
}

// A kind beyond the list is held to it; a clock never runs below zero.
void ReadPlayer(const TIniFile& ini, int number, TTextGamePlayer& player) {
    const QString n = QString::number(number);
    player.Name = ini.Value("Game", "NamePlayer" + n, player.Name);
    player.Kind = std::clamp(ReadInteger(ini, "Game", "Player" + n, player.Kind), 0, HighestPlayerKind);
    player.Black =
        ReadInteger(ini, "Game", "Player" + n + "Color", player.Black ? BlackColor : 0) == BlackColor;
    const QByteArray clockSection = ("TimePlayer" + n).toLatin1();
    player.Clock.MoveCount = std::max(0, ReadInteger(ini, clockSection.constData(), "MoveCount", 0));
    player.Clock.TimePerMove = std::max(0, ReadInteger(ini, clockSection.constData(), "TimePerMove", 0));
    player.Clock.TotalTime =
        static_cast<quint32>(std::max(0, ReadInteger(ini, clockSection.constData(), "Matchtime", 0)));
}

void ReadMoves(const TIniFile& ini, std::vector<TMoveSquares>& moves) {
    for (int i = 0;; ++i) {
        const QString text = ini.Value("SquareList", MovePrefix + QString::number(i));
        if (text.isEmpty()) return;
        moves.push_back(MoveFromText(text));
    }
}

} // namespace

bool IsReadableTextGameVersion(const QString& version) {
    const QVersionNumber number = QVersionNumber::fromString(version.trimmed());
    return !number.isNull() && number >= QVersionNumber::fromString(OldestTextGameVersion);
}

void ApplyTextGameStart(TChessRules& rules, const TTextGame& game) {
    rules.SetPosition(game.StartPosition.toLatin1().toStdString());
    rules.SetWhiteToMove(game.StartWhiteToMove);
    rules.SetCastlingAllowed(game.StartCastling);
}

TTextGameStatus ReadTextGame(const QByteArray& bytes, TTextGame& game) {
    game = TTextGame{};
    TIniFile ini;
    ini.LoadText(bytes);
    if (std::none_of(GameSections.begin(), GameSections.end(),
                     [&ini](const char* s) { return ini.HasSection(s); }))
        return TTextGameStatus::Unreadable;
    game.Version = ini.Value("Common", "Version", game.Version);
    if (!IsReadableTextGameVersion(game.Version)) return TTextGameStatus::OldVersion;

    const QString position = ini.Value("Start", "Position", game.StartPosition);
    if (!NamesStartPosition(position) && !IsPlacement(position)) return TTextGameStatus::Unreadable;
    if (IsPlacement(position)) game.StartPosition = position;
    game.StartWhiteToMove = ReadBoolean(ini, "Start", "WhiteToMove", true);
    game.StartCastling = ReadCastling(ini);

    ReadPlayer(ini, 1, game.Player1);
    ReadPlayer(ini, 2, game.Player2);
    // One board has one player of each colour; a file that seats both on one side keeps player 1's.
    if (game.Player2.Black == game.Player1.Black) game.Player2.Black = !game.Player1.Black;

    ReadMoves(ini, game.Moves);
    game.WhiteToMove = ReadBoolean(ini, "Game", "WhiteToMove", true);
    game.WhiteOnTop = ReadBoolean(ini, "Game", "WhiteOnTop", false);
    game.Level = ReadInteger(ini, "Game", "Level", game.Level);
    game.End = ReadBoolean(ini, "Game", "End", false);
    return TTextGameStatus::Read;
}

TTextGameStatus ReadTextGameFile(const QString& fileName, TTextGame& game) {
    game = TTextGame{};
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) return TTextGameStatus::Unreadable;
    // Reading one byte past the limit tells a file that is too large from one that fits exactly.
    const QByteArray bytes = file.read(MaxTextGameFileSize + 1);
    if (bytes.size() > MaxTextGameFileSize || file.error() != QFileDevice::NoError)
        return TTextGameStatus::Unreadable;
    return ReadTextGame(bytes, game);
}
