#include "Logbook.h"

#include "UnitLanguages.h"

namespace {

constexpr int GameModusStandard = 0;
constexpr int GameModusBlitz = 1;

} // namespace

TLogbook::TLogbook(QObject* parent) : QObject(parent) {}

QString TLogbook::MoveLabel() {
    return LoadLangString(4415, QStringLiteral("Zug : "));
}
QString TLogbook::DepthLabel() {
    return LoadLangString(4410, QStringLiteral("Tiefe")) + ' ';
}
QString TLogbook::NodesLabel() {
    return ' ' + LoadLangString(4411, QStringLiteral("Knoten")) + ' ';
}
QString TLogbook::ScoreLabel() {
    return ' ' + LoadLangString(4412, QStringLiteral("Punkte")) + ' ';
}
QString TLogbook::BestLineLabel() {
    return ' ' + LoadLangString(4413, QStringLiteral("Beste Linie")) + ' ';
}

QString TLogbook::MoveLine(const QString& fromName, const QString& toName, int depth, qint64 nodes,
                           int score) {
    return MoveLabel() + fromName + '-' + toName + ' ' + DepthLabel() + QString::number(depth) +
           NodesLabel() + QString::number(nodes) + ScoreLabel() + QString::number(score);
}

void TLogbook::AddLine(const QString& text) {
    FLines << text;
    Q_EMIT LineAdded(text);
}

void TLogbook::Clear() {
    FLines.clear();
    Q_EMIT Cleared();
}

void TLogbook::UpdateThinkingStatus(int depth, qint64 nodes, int score, const QString& bestLine) {
    SetThinkingStatus(DepthLabel() + QString::number(depth) + NodesLabel() + QString::number(nodes) +
                      ScoreLabel() + QString::number(score) + BestLineLabel() + bestLine);
}

void TLogbook::ClearThinkingStatus() {
    SetThinkingStatus({});
}

void TLogbook::UpdateGameMode(int gameModus) {
    if (gameModus == GameModusStandard)
        FGameModeText = LoadLangString(3031, QStringLiteral("Standard"));
    else if (gameModus == GameModusBlitz)
        FGameModeText = LoadLangString(3032, QStringLiteral("Blitzschach"));
    else
        return;
    Q_EMIT StatusChanged();
}

void TLogbook::SetThinkingStatus(const QString& text) {
    FThinkingStatus = text;
    Q_EMIT StatusChanged();
}
