#pragma once
// The game data of the current game, kept like a score sheet: players and ratings, event, site, date,
// round, opening code, comments and result. Texts are held to the lengths the game file can store.
// And the background music of a game: the list of pieces and which plays next.

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <memory>
#include <random>

class QObject;
class TMidiPlayer;

class TPartieDaten {
public:
    static constexpr int NameCapacity = 50;
    static constexpr int TextCapacity = 250;
    static constexpr int EcoCapacity = 10;

    // The result as the index of the dialog's result group.
    static constexpr int ResultPlayer1Wins = 0; // "1 - 0"
    static constexpr int ResultDraw = 1;        // "1/2 - 1/2"
    static constexpr int ResultPlayer2Wins = 2; // "0 - 1"
    static constexpr int ResultNone = 3;        // "kein Ergebnis"

    TPartieDaten();

    // Empty texts and ratings, today's date, round 0, no result.
    void Clear();

    QString Player1Name() const { return FPlayer1Name; }
    qint32 Player1Elo() const { return FPlayer1Elo; }
    QString Player2Name() const { return FPlayer2Name; }
    qint32 Player2Elo() const { return FPlayer2Elo; }
    QString Event() const { return FEvent; }
    QString Site() const { return FSite; }
    QString Comments() const { return FComments; }
    qint32 Year() const { return FYear; }
    qint32 Month() const { return FMonth; }
    qint32 Day() const { return FDay; }
    qint32 Round() const { return FRound; }
    QString ECO() const { return FECO; }
    quint8 Result() const { return FResult; }
    QString ResultText() const;

    // Texts longer than their capacity keep their first characters.
    void SetPlayer1Name(const QString& name);
    void SetPlayer1Elo(qint32 elo) { FPlayer1Elo = elo; }
    void SetPlayer2Name(const QString& name);
    void SetPlayer2Elo(qint32 elo) { FPlayer2Elo = elo; }
    void SetEvent(const QString& event);
    void SetSite(const QString& site);
    void SetComments(const QString& comments);
    void SetYear(qint32 year) { FYear = year; }
    void SetMonth(qint32 month) { FMonth = month; }
    void SetDay(qint32 day) { FDay = day; }
    void SetRound(qint32 round) { FRound = round; }
    void SetECO(const QString& eco);
    // A value outside 0..3 means no result.
    void SetResult(int result);

private:
    QString FPlayer1Name;
    qint32 FPlayer1Elo;
    QString FPlayer2Name;
    qint32 FPlayer2Elo;
    QString FEvent;
    QString FSite;
    QString FComments;
    qint32 FYear;
    qint32 FMonth;
    qint32 FDay;
    qint32 FRound;
    QString FECO;
    quint8 FResult;
};

// Plays the pieces of a music list one after another, in random order, while a game runs.
class TMusikPlayer {
public:
    // The player's MIDI player belongs to `owner`.
    explicit TMusikPlayer(QObject* owner);

    // The pieces named by the keys of the "MIDIFiles" section of ProgramDir + `relativeName`, in file
    // order, each a path relative to ProgramDir; nothing changes when the file does not exist.
    void LoadList(const QString& relativeName);
    int Count() const { return int(FFiles.size()); }
    QStringList Files() const { return FFiles; }
    int Index() const { return FIndex; }
    bool Playing() const { return FPlaying; }

    // Stops, chooses another piece than the one just played (any, with one piece that one) and plays it.
    void Next();
    // Stops and rewinds.
    void Stop();
    // True when the piece has reached or passed its end; then, with `advance`, the next one starts.
    bool CheckEnd(bool advance);

    TMidiPlayer* MidiPlayer;

private:
    static constexpr int FirstIndex = 31;
    int FIndex = FirstIndex;
    QStringList FFiles;
    bool FPlaying = false;
    std::mt19937 FRandom;
};

// The game's music player on the shipped list ("SOUND\\MIDI\\MIDI.INI"); an empty or missing list
// switches music off (`PlayMusik`).
std::unique_ptr<TMusikPlayer> CreateMusikPlayer(QObject* owner);

// One refresh tick of the music, with sound and music switched on: silence while the game is paused
// or over, otherwise a piece that has ended is followed by the next.
void DriveMusik(TMusikPlayer& player, bool gameRunning);
