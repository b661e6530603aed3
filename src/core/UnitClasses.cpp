#include "UnitClasses.h"

#include <QDate>

namespace {

// The first `capacity` characters; a character made of two UTF-16 units is never cut in half.
QString Cut(const QString& text, int capacity) {
    if (text.size() <= capacity) return text;
    const bool splitsPair = text.at(capacity - 1).isHighSurrogate();
    return text.left(splitsPair ? capacity - 1 : capacity);
}

} // namespace

TPartieDaten::TPartieDaten() {
    Clear();
}

void TPartieDaten::Clear() {
    const QDate today = QDate::currentDate();
    FPlayer1Name.clear();
    FPlayer1Elo = 0;
    FPlayer2Name.clear();
    FPlayer2Elo = 0;
    FEvent.clear();
    FSite.clear();
    FComments.clear();
    FYear = today.year();
    FMonth = today.month();
    FDay = today.day();
    FRound = 0;
    FECO.clear();
    FResult = ResultNone;
}

QString TPartieDaten::ResultText() const {
    switch (FResult) {
    case ResultPlayer1Wins:
        return QStringLiteral("1 - 0");
    case ResultDraw:
        return QStringLiteral("1/2 - 1/2");
    case ResultPlayer2Wins:
        return QStringLiteral("0 - 1");
    default:
        return QStringLiteral("kein Ergebnis");
    }
}

void TPartieDaten::SetPlayer1Name(const QString& name) {
    FPlayer1Name = Cut(name, NameCapacity);
}
void TPartieDaten::SetPlayer2Name(const QString& name) {
    FPlayer2Name = Cut(name, NameCapacity);
}
void TPartieDaten::SetEvent(const QString& event) {
    FEvent = Cut(event, TextCapacity);
}
void TPartieDaten::SetSite(const QString& site) {
    FSite = Cut(site, TextCapacity);
}
void TPartieDaten::SetComments(const QString& comments) {
    FComments = Cut(comments, TextCapacity);
}
void TPartieDaten::SetECO(const QString& eco) {
    FECO = Cut(eco, EcoCapacity);
}

void TPartieDaten::SetResult(int result) {
    FResult = result >= ResultPlayer1Wins && result <= ResultNone ? static_cast<quint8>(result) : ResultNone;
}
