#pragma once
// The engine logbook of the current game: one line per move with the search figures and one per
// check, mate, draw or time-out, plus the two status texts (game variant, last search). The
// logbook window shows it; the lines are kept whether or not that window is open.

#include <QObject>
#include <QString>
#include <QStringList>

class TLogbook : public QObject {
    Q_OBJECT
public:
    explicit TLogbook(QObject* parent = nullptr);

    // The label texts in the active language, fetched anew at every call.
    static QString MoveLabel();
    static QString DepthLabel();
    static QString NodesLabel();
    static QString ScoreLabel();
    static QString BestLineLabel();

    // "Zug : E2-E4 Tiefe 4 Knoten 15230 Punkte 35" for square names written as the board writes them.
    static QString MoveLine(const QString& fromName, const QString& toName, int depth, qint64 nodes,
                            int score);

    void AddLine(const QString& text);
    void Clear();
    QStringList Lines() const { return FLines; }

    // Status text of the last search: depth, nodes, score and best line.
    void UpdateThinkingStatus(int depth, qint64 nodes, int score, const QString& bestLine);
    void ClearThinkingStatus();
    QString ThinkingStatus() const { return FThinkingStatus; }

    // Status text of the game variant: "Standard" for 0, "Blitzschach" for 1; other values keep it.
    void UpdateGameMode(int gameModus);
    QString GameModeText() const { return FGameModeText; }

Q_SIGNALS:
    void LineAdded(const QString& text);
    void Cleared();
    void StatusChanged();

private:
    void SetThinkingStatus(const QString& text);

    QStringList FLines;
    QString FThinkingStatus;
    QString FGameModeText;
};
