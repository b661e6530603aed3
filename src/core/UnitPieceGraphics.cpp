#include "UnitPieceGraphics.h"

#include "UnitFunctions.h"

#include <QFileInfo>
#include <QResource>

#include <optional>

namespace {

constexpr auto DefaultPieceGraphicsPath = "data\\tessaronstd.gfx";
// Where the file's bitmaps appear among the program's resources while it is open; kept apart from
// the program's own resources (":/pieces/...").
constexpr auto MapRoot = "/tessaronstd";

// The module's state: the registered file (empty when closed) and the one shared load bitmap.
struct PieceGraphicsState {
    QString path = DefaultPieceGraphicsPath;
    QString openFile;
    std::optional<QImage> loaded;
};

PieceGraphicsState& State() {
    static PieceGraphicsState state;
    return state;
}

} // namespace

QString PieceGraphicsPath() {
    return State().path;
}

void SetPieceGraphicsPath(const QString& path) {
    State().path = path;
}

bool OpenPieceGraphics() {
    ClosePieceGraphics();
    const QString file = ResolvePath(State().path);
    if (!QFileInfo(file).isFile() || !QResource::registerResource(file, MapRoot)) return false;
    State().openFile = file;
    State().loaded.emplace();
    return true;
}

const QImage* LoadPieceGraphic(const QString& name) {
    PieceGraphicsState& state = State();
    if (!state.loaded) return nullptr;
    // A name the file lacks counts as no file at all: the caller keeps or shows the built-in set.
    *state.loaded = QImage(QStringLiteral(":%1/%2").arg(MapRoot, name));
    return state.loaded->isNull() ? nullptr : &*state.loaded;
}

void ClosePieceGraphics() {
    PieceGraphicsState& state = State();
    if (!state.loaded) return;
    state.loaded.reset();
    QResource::unregisterResource(state.openFile, MapRoot);
    state.openFile.clear();
}

bool PieceGraphicsOpen() {
    return State().loaded.has_value();
}
