#pragma once
// The game data of the current game, kept like a score sheet: players and ratings, event, site, date,
// round, opening code, comments and result. Texts are held to the lengths the game file can store.

#include <QString>
#include <QtGlobal>

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
