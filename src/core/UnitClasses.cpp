#include "UnitClasses.h"

#include "IniFile.h"
#include "MidiPlay.h"
#include "UnitFunctions.h"
#include "UnitSettings.h"

#include <QDate>
#include <QFileInfo>

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

TMusikPlayer::TMusikPlayer(QObject* owner)
    : MidiPlayer(new TMidiPlayer(owner)), FRandom(std::random_device{}()) {}

void TMusikPlayer::LoadList(const QString& relativeName) {
    const QString fileName = ResolvePath(relativeName);
    if (!QFileInfo::exists(fileName)) return;
    TIniFile list;
    list.Load(fileName);
    FFiles = list.Keys("MIDIFiles");
}

// With two pieces or more the one just played is left out, so the same piece never plays twice running.
void TMusikPlayer::Next() {
    Stop();
    const int previous = FIndex;
    FIndex = FIndex >= Count() - 1 || FFiles.isEmpty() ? 0 : FIndex + 1;
    if (Count() > 1) { // the order is always random
        const bool avoid = previous >= 0 && previous < Count();
        FIndex = std::uniform_int_distribution<int>(0, Count() - (avoid ? 2 : 1))(FRandom);
        if (avoid && FIndex >= previous) ++FIndex;
    }
    if (FFiles.isEmpty()) return;
    MidiPlayer->SetMidiFile(ResolvePath(FFiles[FIndex]));
    if (MidiPlayer->Open()) MidiPlayer->Play(0, MidiPlayer->Length());
    FPlaying = true;
}

void TMusikPlayer::Stop() {
    if (!MidiPlayer->MidiFile().isEmpty()) {
        MidiPlayer->Close();
        MidiPlayer->Seek(0);
    }
    FPlaying = false;
}

bool TMusikPlayer::CheckEnd(bool advance) {
    const bool ended = MidiPlayer->Position() >= MidiPlayer->Length();
    if (ended && advance) Next();
    return ended;
}

std::unique_ptr<TMusikPlayer> CreateMusikPlayer(QObject* owner) {
    auto player = std::make_unique<TMusikPlayer>(owner);
    player->LoadList("SOUND\\MIDI\\MIDI.INI");
    if (player->Count() == 0) Settings().PlayMusik = false;
    return player;
}

void DriveMusik(TMusikPlayer& player, bool gameRunning) {
    const TSettings& s = Settings();
    if (!s.PlaySound || !s.PlayMusik) return;
    if (!gameRunning)
        player.Stop();
    else if (player.Playing())
        player.CheckEnd(true);
    else
        player.Next();
}
