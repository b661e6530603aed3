// Checks the piece-set bitmaps the generator draws: the built-in SETCLASSIC40 and the sets of the
// piece-graphics file from the build, and the built-in set drawn here at other cell sizes.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

namespace {

constexpr int kBuiltInCell = 40;
constexpr std::array kOtherCells{32, 80};
// The fifteen sets of the piece-graphics file and the preview of the built-in set.
constexpr int kCatalogueSets = 16;
constexpr int kColumns = 6;
constexpr int kRows = 4;
constexpr int kPawn = 0;
constexpr int kKing = 5;
const QStringList kKindNames{"pawn", "knight", "bishop", "rook", "queen", "king"};
constexpr int kGeneratorTimeoutMs = 120000;

constexpr int kOpaque = 0;
constexpr int kTransparent = 255;

struct Side {
    const char* name;
    int pieceRow;
    int maskRow;
    bool light;
};
const std::array<Side, 2> kSides{{{"white", 0, 1, true}, {"black", 2, 3, false}}};

struct Cell {
    const QImage* sheet;
    int size;
    int column;
    int row;

    int grey(int x, int y) const { return qGray(sheet->pixel(column * size + x, row * size + y)); }
    QRgb colour(int x, int y) const { return sheet->pixel(column * size + x, row * size + y); }
};

QString pieceName(const Side& side, int column) {
    return QStringLiteral("%1 %2").arg(QLatin1String(side.name), kKindNames[column]);
}

int area(int cellSize) {
    return cellSize * cellSize;
}

QStringList sizeArgument(int cellSize) {
    return {QStringLiteral("--size"), QString::number(cellSize)};
}

// The generator's exit code, or -1 if it did not finish; it always draws from the build's font.
int runGenerator(const QStringList& arguments) {
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    generator.start(QStringLiteral(MAKE_PIECESET),
                    QStringList{QStringLiteral("--font"), QStringLiteral(PIECESET_FONT)} + arguments);
    if (!generator.waitForFinished(kGeneratorTimeoutMs) || generator.exitStatus() != QProcess::NormalExit) {
        return -1;
    }
    return generator.exitCode();
}

int countMask(const Cell& mask, int from, int to) {
    int count = 0;
    for (int y = 0; y < mask.size; ++y)
        for (int x = 0; x < mask.size; ++x)
            count += mask.grey(x, y) >= from && mask.grey(x, y) <= to ? 1 : 0;
    return count;
}

// Top and bottom rows where the piece is at least half opaque somewhere.
std::pair<int, int> opaqueRows(const Cell& mask) {
    int top = mask.size, bottom = -1;
    for (int y = 0; y < mask.size; ++y) {
        for (int x = 0; x < mask.size; ++x) {
            if (mask.grey(x, y) < kTransparent / 2) {
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    return {top, bottom};
}

} // namespace

class TestPieceSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void builtInSetIsSixByFourCellsOf40();
    void generatorHonoursCellSize_data();
    void generatorHonoursCellSize();
    void regeneratingGivesTheSameBytes();
    void anotherStyleRecoloursTheSameShapes();
    void unknownStyleIsRefused();
    void catalogueThatDoesNotReadIsRefused_data();
    void catalogueThatDoesNotReadIsRefused();
    void masksCoverThePieceAndClearTheBorder_data();
    void masksCoverThePieceAndClearTheBorder();
    void masksAreAntialiasedButMostlyPure_data();
    void masksAreAntialiasedButMostlyPure();
    void whitePiecesAreLightAndBlackPiecesDark_data();
    void whitePiecesAreLightAndBlackPiecesDark();
    void edgePixelsCarryThePieceEdgeColour_data();
    void edgePixelsCarryThePieceEdgeColour();
    void imageIsNeutralWhereTheMaskIsClear_data();
    void imageIsNeutralWhereTheMaskIsClear();
    void whiteSideIsLighterThanBlackSide_data();
    void whiteSideIsLighterThanBlackSide();
    void kindsDifferFromEachOther_data();
    void kindsDifferFromEachOther();
    void piecesStandOnOneBaselineKingTallerThanPawn_data();
    void piecesStandOnOneBaselineKingTallerThanPawn();

private:
    QImage generate(const QStringList& arguments, const QString& file);
    void addSheetRows();
    void addClassicRows();
    // The built-in set drawn at a cell size, and any set by its row name.
    const QImage& sheet(int cellSize) const { return sheets.at(classicName(cellSize)).image; }
    const QImage& sheet(const QString& name) const { return sheets.at(name).image; }
    static QString classicName(int cellSize) { return QStringLiteral("classic %1 px").arg(cellSize); }

    struct Sheet {
        QImage image;
        int cellSize;
    };
    QTemporaryDir scratch;
    std::map<QString, Sheet> sheets;
};

QImage TestPieceSet::generate(const QStringList& arguments, const QString& file) {
    if (runGenerator(arguments + QStringList{QStringLiteral("--output"), file}) != 0) return {};
    return QImage(file, "BMP");
}

void TestPieceSet::initTestCase() {
    QVERIFY(scratch.isValid());
    sheets[classicName(kBuiltInCell)] = {QImage(QStringLiteral(SETCLASSIC40_BMP), "BMP"), kBuiltInCell};
    QVERIFY2(!sheet(kBuiltInCell).isNull(), "the build did not draw the built-in set");
    for (const int cellSize : kOtherCells) {
        sheets[classicName(cellSize)] = {
            generate(sizeArgument(cellSize), scratch.filePath(QStringLiteral("set%1.bmp").arg(cellSize))),
            cellSize};
        QVERIFY2(!sheet(cellSize).isNull(), qPrintable(QStringLiteral("no %1 px set").arg(cellSize)));
    }
    // The sets of the piece-graphics file: a file per set, named for the set, its cell a quarter of
    // its height.
    const QDir drawn(QStringLiteral(PIECESET_DIR));
    const QStringList files = drawn.entryList({QStringLiteral("*.bmp")}, QDir::Files, QDir::Name);
    QCOMPARE(files.size(), kCatalogueSets);
    for (const QString& file : files) {
        const QImage image(drawn.filePath(file), "BMP");
        QVERIFY2(!image.isNull(), qPrintable(file));
        sheets[QFileInfo(file).completeBaseName()] = {image, image.height() / kRows};
    }
}

void TestPieceSet::addSheetRows() {
    QTest::addColumn<int>("cellSize");
    QTest::addColumn<QString>("name");
    for (const auto& [name, drawn] : sheets)
        QTest::newRow(qPrintable(name)) << drawn.cellSize << name;
}

// The built-in set's own look: its fill, rim and bulk; the sets of the file vary these by design.
void TestPieceSet::addClassicRows() {
    QTest::addColumn<int>("cellSize");
    QTest::addColumn<QString>("name");
    for (const int cellSize : {kBuiltInCell, kOtherCells[0], kOtherCells[1]})
        QTest::newRow(qPrintable(classicName(cellSize))) << cellSize << classicName(cellSize);
}

void TestPieceSet::builtInSetIsSixByFourCellsOf40() {
    QCOMPARE(sheet(kBuiltInCell).size(), QSize(240, 160));
}

void TestPieceSet::generatorHonoursCellSize_data() {
    QTest::addColumn<int>("cellSize");
    QTest::addColumn<QSize>("expected");
    QTest::newRow("32 px") << 32 << QSize(192, 128);
    QTest::newRow("80 px") << 80 << QSize(480, 320);
}

void TestPieceSet::generatorHonoursCellSize() {
    QFETCH(int, cellSize);
    QFETCH(QSize, expected);
    QCOMPARE(sheet(cellSize).size(), expected);
    QCOMPARE(sheet(cellSize).size(), QSize(kColumns * cellSize, kRows * cellSize));
}

void TestPieceSet::regeneratingGivesTheSameBytes() {
    const QString again = scratch.filePath(QStringLiteral("again40.bmp"));
    QVERIFY(!generate(sizeArgument(kBuiltInCell), again).isNull());
    QFile built(QStringLiteral(SETCLASSIC40_BMP));
    QFile rebuilt(again);
    QVERIFY(built.open(QIODevice::ReadOnly));
    QVERIFY(rebuilt.open(QIODevice::ReadOnly));
    QVERIFY(built.readAll() == rebuilt.readAll());
}

void TestPieceSet::anotherStyleRecoloursTheSameShapes() {
    const QImage flat =
        generate(sizeArgument(kBuiltInCell) + QStringList{QStringLiteral("--style"), QStringLiteral("flat")},
                 scratch.filePath(QStringLiteral("flat.bmp")));
    const QImage& classic = sheet(kBuiltInCell);
    QCOMPARE(flat.size(), classic.size());
    QVERIFY(flat != classic);
    // A style colours the pieces; their shapes, and so the masks, stay those of the font.
    for (const Side& side : kSides) {
        const QRect masks(0, side.maskRow * kBuiltInCell, flat.width(), kBuiltInCell);
        QCOMPARE(flat.copy(masks), classic.copy(masks));
    }
}

void TestPieceSet::unknownStyleIsRefused() {
    const QString file = scratch.filePath(QStringLiteral("nostyle.bmp"));
    QVERIFY(runGenerator({QStringLiteral("--style"), QStringLiteral("no such style"),
                          QStringLiteral("--output"), file}) > 0);
    QVERIFY(!QFile::exists(file));
}

void TestPieceSet::catalogueThatDoesNotReadIsRefused_data() {
    QTest::addColumn<QString>("line");
    QTest::newRow("no cell size") << QStringLiteral("SETX freefont/FreeSerif.ttf classic");
    QTest::newRow("cell too small") << QStringLiteral("SETX 8 freefont/FreeSerif.ttf classic");
    QTest::newRow("unknown style") << QStringLiteral("SETX 40 freefont/FreeSerif.ttf marzipan");
    QTest::newRow("no such font") << QStringLiteral("SETX 40 nowhere/None.ttf classic");
}

void TestPieceSet::catalogueThatDoesNotReadIsRefused() {
    QFETCH(QString, line);
    QFile list(scratch.filePath(QStringLiteral("catalogue.txt")));
    QVERIFY(list.open(QIODevice::WriteOnly | QIODevice::Truncate));
    list.write(("# one good set, one bad\nSETGOOD 40 " + QFileInfo(QStringLiteral(PIECESET_FONT)).fileName() +
                " classic\n" + line + "\n")
                   .toUtf8());
    list.close();
    const QString out = scratch.filePath(QStringLiteral("catalogue"));
    QVERIFY(QDir().mkpath(out));
    QVERIFY(runGenerator({QStringLiteral("--catalogue"), list.fileName(), QStringLiteral("--font-dir"),
                          QFileInfo(QStringLiteral(PIECESET_FONT)).path(), QStringLiteral("--output-dir"),
                          out}) > 0);
}

void TestPieceSet::masksCoverThePieceAndClearTheBorder_data() {
    addClassicRows();
}

void TestPieceSet::masksCoverThePieceAndClearTheBorder() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    for (const Side& side : kSides) {
        for (int column = 0; column < kColumns; ++column) {
            const Cell mask{&sheet(name), cellSize, column, side.maskRow};
            const int opaque = countMask(mask, kOpaque, kOpaque);
            QVERIFY2(opaque > area(cellSize) / 7, qPrintable(pieceName(side, column)));
            for (int i = 0; i < cellSize; ++i) {
                const int last = cellSize - 1;
                QVERIFY2(mask.grey(i, 0) == kTransparent && mask.grey(i, last) == kTransparent &&
                             mask.grey(0, i) == kTransparent && mask.grey(last, i) == kTransparent,
                         qPrintable(pieceName(side, column)));
            }
        }
    }
}

void TestPieceSet::masksAreAntialiasedButMostlyPure_data() {
    addSheetRows();
}

void TestPieceSet::masksAreAntialiasedButMostlyPure() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    for (const Side& side : kSides) {
        for (int column = 0; column < kColumns; ++column) {
            const Cell mask{&sheet(name), cellSize, column, side.maskRow};
            const int partial = countMask(mask, kOpaque + 1, kTransparent - 1);
            const int opaque = countMask(mask, kOpaque, kOpaque);
            QVERIFY2(partial >= cellSize, qPrintable(pieceName(side, column) + " has no smooth edge"));
            QVERIFY2(partial < opaque, qPrintable(pieceName(side, column) + " is blurred"));
            QVERIFY2(partial < area(cellSize) / 5, qPrintable(pieceName(side, column) + " is blurred"));
        }
    }
}

void TestPieceSet::whitePiecesAreLightAndBlackPiecesDark_data() {
    addClassicRows();
}

void TestPieceSet::whitePiecesAreLightAndBlackPiecesDark() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    constexpr int kLight = 160;
    constexpr int kDark = 96;
    for (const Side& side : kSides) {
        for (int column = 0; column < kColumns; ++column) {
            const Cell mask{&sheet(name), cellSize, column, side.maskRow};
            const Cell image{&sheet(name), cellSize, column, side.pieceRow};
            int interior = 0, ofItsColour = 0;
            for (int y = 0; y < cellSize; ++y) {
                for (int x = 0; x < cellSize; ++x) {
                    if (mask.grey(x, y) != kOpaque) continue;
                    ++interior;
                    ofItsColour += side.light ? image.grey(x, y) >= kLight : image.grey(x, y) <= kDark;
                }
            }
            QVERIFY2(ofItsColour > interior / 2, qPrintable(pieceName(side, column)));
        }
    }
}

void TestPieceSet::edgePixelsCarryThePieceEdgeColour_data() {
    addClassicRows();
}

// Where a piece is only partly opaque, the image must hold the piece's own edge colour, or the
// edge would fade towards whatever the image was filled with instead of the square's colour.
void TestPieceSet::edgePixelsCarryThePieceEdgeColour() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    constexpr int kDarkOutline = 64;
    constexpr int kLightRim = 192;
    for (const Side& side : kSides) {
        for (int column = 0; column < kColumns; ++column) {
            const Cell mask{&sheet(name), cellSize, column, side.maskRow};
            const Cell image{&sheet(name), cellSize, column, side.pieceRow};
            int edge = 0, total = 0;
            for (int y = 0; y < cellSize; ++y) {
                for (int x = 0; x < cellSize; ++x) {
                    if (mask.grey(x, y) == kOpaque || mask.grey(x, y) == kTransparent) continue;
                    ++edge;
                    total += image.grey(x, y);
                }
            }
            QVERIFY(edge > 0);
            const int mean = total / edge;
            QVERIFY2(side.light ? mean <= kDarkOutline : mean >= kLightRim,
                     qPrintable(QStringLiteral("%1 edge grey %2").arg(pieceName(side, column)).arg(mean)));
        }
    }
}

void TestPieceSet::imageIsNeutralWhereTheMaskIsClear_data() {
    addSheetRows();
}

void TestPieceSet::imageIsNeutralWhereTheMaskIsClear() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    const QRgb neutral = qRgb(255, 255, 255);
    for (const Side& side : kSides) {
        for (int column = 0; column < kColumns; ++column) {
            const Cell mask{&sheet(name), cellSize, column, side.maskRow};
            const Cell image{&sheet(name), cellSize, column, side.pieceRow};
            for (int y = 0; y < cellSize; ++y) {
                for (int x = 0; x < cellSize; ++x) {
                    if (mask.grey(x, y) != kTransparent) continue;
                    QVERIFY2(qRgb(qRed(image.colour(x, y)), qGreen(image.colour(x, y)),
                                  qBlue(image.colour(x, y))) == neutral,
                             qPrintable(pieceName(side, column)));
                }
            }
        }
    }
}

void TestPieceSet::whiteSideIsLighterThanBlackSide_data() {
    addSheetRows();
}

// Whatever their colours and detail, the body of a set's white pieces is clearly lighter than that of
// its black ones (the median ignores the rim and detail lines), and no piece reaches the cell's edge.
void TestPieceSet::whiteSideIsLighterThanBlackSide() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    constexpr int kClearlyLighter = 64;
    std::array<int, 2> medianGrey{};
    for (size_t s = 0; s < kSides.size(); ++s) {
        const Side& side = kSides[s];
        std::vector<int> interior;
        for (int column = 0; column < kColumns; ++column) {
            const Cell mask{&sheet(name), cellSize, column, side.maskRow};
            const Cell image{&sheet(name), cellSize, column, side.pieceRow};
            for (int y = 0; y < cellSize; ++y) {
                for (int x = 0; x < cellSize; ++x) {
                    const bool edge = x == 0 || y == 0 || x == cellSize - 1 || y == cellSize - 1;
                    if (edge) QVERIFY2(mask.grey(x, y) == kTransparent, qPrintable(pieceName(side, column)));
                    if (mask.grey(x, y) == kOpaque) interior.push_back(image.grey(x, y));
                }
            }
        }
        QVERIFY(!interior.empty());
        std::nth_element(interior.begin(), interior.begin() + interior.size() / 2, interior.end());
        medianGrey[s] = interior[interior.size() / 2];
    }
    QVERIFY2(medianGrey[0] > medianGrey[1] + kClearlyLighter,
             qPrintable(QStringLiteral("white %1, black %2").arg(medianGrey[0]).arg(medianGrey[1])));
}

void TestPieceSet::kindsDifferFromEachOther_data() {
    addSheetRows();
}

void TestPieceSet::kindsDifferFromEachOther() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    for (const Side& side : kSides) {
        for (int first = 0; first < kColumns; ++first) {
            for (int second = first + 1; second < kColumns; ++second) {
                const Cell a{&sheet(name), cellSize, first, side.maskRow};
                const Cell b{&sheet(name), cellSize, second, side.maskRow};
                int different = 0;
                for (int y = 0; y < cellSize; ++y)
                    for (int x = 0; x < cellSize; ++x)
                        different += std::abs(a.grey(x, y) - b.grey(x, y)) > 128;
                QVERIFY2(different > area(cellSize) / 20,
                         qPrintable(pieceName(side, first) + " looks like the " + kKindNames[second]));
            }
        }
    }
}

void TestPieceSet::piecesStandOnOneBaselineKingTallerThanPawn_data() {
    addSheetRows();
}

void TestPieceSet::piecesStandOnOneBaselineKingTallerThanPawn() {
    QFETCH(int, cellSize);
    QFETCH(QString, name);
    for (const Side& side : kSides) {
        const auto [kingTop, kingBottom] = opaqueRows(Cell{&sheet(name), cellSize, kKing, side.maskRow});
        const auto [pawnTop, pawnBottom] = opaqueRows(Cell{&sheet(name), cellSize, kPawn, side.maskRow});
        QVERIFY2(kingBottom - kingTop > (pawnBottom - pawnTop) * 11 / 10, side.name);
        // The king fills the cell the way a real set's tallest piece fills a square.
        QVERIFY2(kingBottom - kingTop + 1 >= cellSize * 8 / 10, side.name);
        for (int column = 0; column < kColumns; ++column) {
            const auto [top, bottom] = opaqueRows(Cell{&sheet(name), cellSize, column, side.maskRow});
            QVERIFY2(bottom == kingBottom, qPrintable(pieceName(side, column)));
        }
    }
}

QTEST_GUILESS_MAIN(TestPieceSet)
#include "tst_pieceset.moc"
