// The piece sets the program ships, the reading of the piece-graphics file, the step that puts the
// chosen set on a board, and the piece-set dialog on real widgets.
// Set TESSARON_BOARD_PNG_DIR to a folder to get pictures of the dialog and of a board with a set there.

#include "ChessBrd.h"
#include "FormMainTestSupport.h"
#include "UnitFormBoardSettings.h"
#include "UnitFormChangePieceSet.h"
#include "UnitPieceGraphics.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int Columns = 6;
constexpr int Rows = 4;
constexpr int StandardCell = 40;
constexpr int MaskOpaqueBelow = 128;
constexpr int King = 5;
constexpr int Pawn = 0;

// The cell size a set's name ends in; the preview of the built-in set has the built-in set's cells.
int CellOfName(const QString& name) {
    const auto digits = QRegularExpression("(\\d+)$").match(name);
    return digits.hasMatch() ? digits.captured(1).toInt() : StandardCell;
}

QImage Cell(const QImage& set, int column, int row) {
    const int cell = set.height() / Rows;
    return set.copy(column * cell, row * cell, cell, cell);
}

bool MaskHoldsAPiece(const QImage& mask) {
    for (int y = 0; y < mask.height(); ++y)
        for (int x = 0; x < mask.width(); ++x)
            if (qGray(mask.pixel(x, y)) < MaskOpaqueBelow) return true;
    return false;
}

// A program folder holding the given piece-graphics file (or none) as data/tessaronstd.gfx.
void UseProgramDirWith(const QTemporaryDir& dir, const QString& graphicsFile) {
    QDir(dir.path()).removeRecursively();
    QDir().mkpath(dir.filePath("data"));
    if (!graphicsFile.isEmpty()) QFile::copy(graphicsFile, dir.filePath("data/tessaronstd.gfx"));
    SetProgramDir(dir.path());
    Settings() = TSettings{};
}

QImage ShippedSet(const char* name) {
    if (!OpenPieceGraphics()) return {};
    const QImage* graphic = LoadPieceGraphic(name);
    const QImage set = graphic ? graphic->copy() : QImage();
    ClosePieceGraphics();
    return set;
}

// A radio button answers a click on its circle or its text, not on the empty rest of its width.
QPoint OnTheIndicator(const QWidget* button) {
    return {button->height() / 2, button->height() / 2};
}

void SavePicture(const QImage& picture, const QString& name) {
    const QString dir = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR");
    if (!dir.isEmpty()) picture.save(QDir(dir).filePath(name + ".png"));
}

} // namespace

class TestFormChangePieceSet : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void everyShippedSetIsValidWithAPieceInEveryCell_data();
    void everyShippedSetIsValidWithAPieceInEveryCell();
    void fileIsFoundBesideTheProgramNotInTheCurrentFolder();
    void missingFileOrMissingNameGivesTheBuiltInSet();
    void boardAcceptsOnlyPieceSetsOfThreeToTwo();
    void eightyPixelSetOverlapsFortyPixelSquaresEvenly();
    void boardWithoutSizesKeepsTheBuiltInSetForLargeCells_data();
    void boardWithoutSizesKeepsTheBuiltInSetForLargeCells();

    void dialogStepsRoundThePiecesAndShowsTheBlackRow();
    void dialogShowsAnEmptyPreviewWithoutTheFile();
    void okPutsTheSetOnTheBoardAndStoresIt();
    void cancelKeepsBoardAndSetting();
    void standardAndOkGiveTheBuiltInSet();
    void choiceSurvivesARestart();
    void mainWindowOffersTheDialogAndStartsWithTheChosenSet();

private:
    QTemporaryDir programDir;
    TChessBrd* board = nullptr;
};

void TestFormChangePieceSet::init() {
    QVERIFY(programDir.isValid());
    UseProgramDirWith(programDir, PIECE_GRAPHICS_FILE);
    board = new TChessBrd;
}

void TestFormChangePieceSet::cleanup() {
    delete board;
    board = nullptr;
    ClosePieceGraphics();
    SetProgramDir({});
}

void TestFormChangePieceSet::everyShippedSetIsValidWithAPieceInEveryCell_data() {
    QTest::addColumn<QString>("name");
    for (const char* name : PieceSetNames)
        QTest::newRow(name) << QString(name);
}

void TestFormChangePieceSet::everyShippedSetIsValidWithAPieceInEveryCell() {
    QFETCH(QString, name);
    const QImage set = ShippedSet(qPrintable(name));
    QVERIFY2(TChessBrd::IsValidPieceSet(set), "missing or not 3 : 2");
    QCOMPARE(set.height() / Rows, CellOfName(name));
    for (int column = 0; column < Columns; ++column) {
        QVERIFY2(MaskHoldsAPiece(Cell(set, column, 1)), qPrintable(QString("white %1").arg(column)));
        QVERIFY2(MaskHoldsAPiece(Cell(set, column, 3)), qPrintable(QString("black %1").arg(column)));
        QVERIFY2(Cell(set, column, 0) != Cell(set, column, 2), qPrintable(QString("column %1").arg(column)));
    }
}

void TestFormChangePieceSet::fileIsFoundBesideTheProgramNotInTheCurrentFolder() {
    const QString here = QDir::currentPath();
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    const bool opened = OpenPieceGraphics();
    QDir::setCurrent(here);
    QVERIFY(opened);
    QVERIFY(LoadPieceGraphic("SETGOLF60"));
    ClosePieceGraphics();
    QVERIFY(!PieceGraphicsOpen());
}

// Without the file, or with a file that lacks the set, the board shows the built-in set, and the
// file is closed again.
void TestFormChangePieceSet::missingFileOrMissingNameGivesTheBuiltInSet() {
    UseProgramDirWith(programDir, PARTIAL_GRAPHICS_FILE);
    QVERIFY(OpenPieceGraphics());
    QVERIFY(LoadPieceGraphic("STANDARD"));
    QVERIFY(!LoadPieceGraphic("SETALPHA40"));
    ClosePieceGraphics();
    QVERIFY(!LoadPieceGraphic("STANDARD"));

    for (const QString& file : {QString(), QString(PARTIAL_GRAPHICS_FILE)}) {
        UseProgramDirWith(programDir, file);
        board->SetCustomPieceSet(QImage(240, 160, QImage::Format_RGB32));
        Settings().PieceSet = 2;
        ApplyPieceSetSetting(*board, true);
        QVERIFY2(board->CustomPieceSet().isNull(), qPrintable(file));
        QCOMPARE(board->PieceSize(), StandardCell);
        QVERIFY(!PieceGraphicsOpen());
    }
}

void TestFormChangePieceSet::boardAcceptsOnlyPieceSetsOfThreeToTwo() {
    QImage accepted(240, 160, QImage::Format_RGB32);
    accepted.fill(Qt::white);
    board->SetCustomPieceSet(accepted);
    QCOMPARE(board->CustomPieceSet().size(), QSize(240, 160));
    QCOMPARE(board->PieceSize(), 40);
    const QImage set80 = ShippedSet("SETALPHA80");
    board->SetCustomPieceSet(set80);
    for (const QSize refused : {QSize(240, 161), QSize(0, 0), QSize(1, 0)}) {
        QVERIFY(!TChessBrd::IsValidPieceSet(QImage(refused, QImage::Format_RGB32)));
        if (!refused.isEmpty()) board->SetCustomPieceSet(QImage(refused, QImage::Format_RGB32));
        QCOMPARE(board->CustomPieceSet().size(), set80.size());
    }
}

// Each piece of an 80 pixel set starts 20 pixels above and left of its 40 pixel square: where its
// mask is solid the board shows the piece's own colour, where it is clear the squares show.
void TestFormChangePieceSet::eightyPixelSetOverlapsFortyPixelSquaresEvenly() {
    const QImage set = ShippedSet("SETALPHA80");
    board->SetCustomPieceSet(set);
    std::string placement(64, ' ');
    placement[E4 - 1] = 'K';
    board->SetPosition(placement);
    QCOMPARE(board->SizeOfSquare(), 40);
    const QPoint corner = board->SquareOrigin(E4) - QPoint(20, 20);
    const QImage image = Cell(set, King, 0);
    const QImage mask = Cell(set, King, 1);
    const QRect square(board->SquareOrigin(E4), QSize(40, 40));
    int solidOutsideTheSquare = 0;
    for (int y = 0; y < 80; ++y) {
        for (int x = 0; x < 80; ++x) {
            const QRgb shown = board->BackingImage().pixel(corner + QPoint(x, y));
            const int grey = qGray(mask.pixel(x, y));
            if (grey == 0) {
                QCOMPARE(QColor(shown), QColor(image.pixel(x, y)));
                solidOutsideTheSquare += square.contains(corner + QPoint(x, y)) ? 0 : 1;
            } else if (grey == 255) {
                const QColor ground = shown;
                QVERIFY(ground == board->SquareColorLight() || ground == board->SquareColorDark());
            }
        }
    }
    QVERIFY(solidOutsideTheSquare > 0);
    SavePicture(board->BoardPicture(), "board-SETALPHA80-on-40");
}

void TestFormChangePieceSet::boardWithoutSizesKeepsTheBuiltInSetForLargeCells_data() {
    QTest::addColumn<int>("set");
    QTest::addColumn<int>("withoutSizes");
    QTest::addColumn<int>("withSizes");
    QTest::newRow("built-in") << 0 << 40 << 40;
    QTest::newRow("32") << 1 << 32 << 32;
    QTest::newRow("64") << 3 << 40 << 64;
    QTest::newRow("80") << 4 << 40 << 80;
    QTest::newRow("36") << 6 << 36 << 36;
    QTest::newRow("60") << 11 << 40 << 60;
    QTest::newRow("39") << 14 << 39 << 39;
}

void TestFormChangePieceSet::boardWithoutSizesKeepsTheBuiltInSetForLargeCells() {
    QFETCH(int, set);
    QFETCH(int, withoutSizes);
    QFETCH(int, withSizes);
    Settings().PieceSet = set;
    ApplyPieceSetSetting(*board, false);
    QCOMPARE(board->PieceSize(), withoutSizes);
    ApplyPieceSetSetting(*board, true);
    QCOMPARE(board->PieceSize(), withSizes);
    QVERIFY(!PieceGraphicsOpen());
}

void TestFormChangePieceSet::dialogStepsRoundThePiecesAndShowsTheBlackRow() {
    Settings().PieceSet = 4;
    TFormChangePieceSet dialog(board);
    dialog.show();
    const QImage& set = dialog.PieceSetBitmap();
    QCOMPARE(set.size(), QSize(480, 320));
    QCOMPARE(dialog.ComboBoxPieceSet->currentIndex(), 4);
    QCOMPARE(dialog.ComboBoxPieceSet->count(), 16);
    QCOMPARE(dialog.ComboBoxPieceSet->itemText(4), QString("Figurensatz 4"));
    QCOMPARE(dialog.LabelSize->text(), QString("Größe: 80x80"));
    QCOMPARE(dialog.PreviewBitmap(), Cell(set, Pawn, 0));
    QCOMPARE(dialog.LabelPiece->text(), QString("Bauer"));

    QTest::mouseClick(dialog.SpeedButtonBack, Qt::LeftButton);
    QCOMPARE(dialog.LabelPiece->text(), QString("König"));
    QCOMPARE(dialog.PreviewBitmap(), Cell(set, King, 0));
    QTest::mouseClick(dialog.SpeedButtonNext, Qt::LeftButton);
    QCOMPARE(dialog.PreviewBitmap(), Cell(set, Pawn, 0));
    QTest::mouseClick(dialog.SpeedButtonNext, Qt::LeftButton);
    QCOMPARE(dialog.LabelPiece->text(), QString("Springer"));

    QTest::mouseClick(dialog.RadioButtonBlack, Qt::LeftButton, {}, OnTheIndicator(dialog.RadioButtonBlack));
    QVERIFY(dialog.RadioButtonBlack->isChecked());
    SavePicture(dialog.grab().toImage(), "dialog-piece-set");
    QCOMPARE(dialog.PreviewBitmap(), Cell(set, 1, 2));
    QCOMPARE(dialog.ImagePieceSet->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
             Cell(set, 1, 2).convertToFormat(QImage::Format_RGB32));
    QTest::mouseClick(dialog.RadioButtonWhite, Qt::LeftButton, {}, OnTheIndicator(dialog.RadioButtonWhite));
    QCOMPARE(dialog.PreviewBitmap(), Cell(set, 1, 0));

    dialog.ComboBoxPieceSet->setCurrentIndex(1);
    QCOMPARE(dialog.LabelSize->text(), QString("Größe: 32x32"));
    QCOMPARE(dialog.PreviewBitmap().size(), QSize(32, 32));
    QVERIFY(!PieceGraphicsOpen());
}

void TestFormChangePieceSet::dialogShowsAnEmptyPreviewWithoutTheFile() {
    UseProgramDirWith(programDir, QString());
    Settings().PieceSet = 7;
    TFormChangePieceSet dialog(board);
    dialog.show();
    QVERIFY(dialog.PreviewBitmap().isNull());
    QCOMPARE(dialog.LabelSize->text(), QString("Größe: 0x0"));
    const QImage before = board->CustomPieceSet();
    QTest::mouseClick(dialog.findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    QCOMPARE(board->CustomPieceSet(), before);
    QCOMPARE(Settings().PieceSet, 7);
}

void TestFormChangePieceSet::okPutsTheSetOnTheBoardAndStoresIt() {
    TFormChangePieceSet dialog(board);
    dialog.show();
    dialog.ComboBoxPieceSet->setCurrentIndex(11);
    QTest::mouseClick(dialog.findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(Settings().PieceSet, 11);
    QCOMPARE(board->CustomPieceSet(), ShippedSet("SETGOLF60"));
    QCOMPARE(board->PieceSize(), 60);
}

void TestFormChangePieceSet::cancelKeepsBoardAndSetting() {
    Settings().PieceSet = 2;
    ApplyPieceSetSetting(*board, true);
    const QImage before = board->CustomPieceSet();
    TFormChangePieceSet dialog(board);
    dialog.show();
    dialog.ComboBoxPieceSet->setCurrentIndex(9);
    QTest::mouseClick(dialog.findChild<QPushButton*>("ButtonCancel"), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QCOMPARE(Settings().PieceSet, 2);
    QCOMPARE(board->CustomPieceSet(), before);
}

void TestFormChangePieceSet::standardAndOkGiveTheBuiltInSet() {
    Settings().PieceSet = 5;
    ApplyPieceSetSetting(*board, true);
    QVERIFY(!board->CustomPieceSet().isNull());
    TFormChangePieceSet dialog(board);
    dialog.show();
    dialog.ComboBoxPieceSet->setCurrentIndex(0);
    QCOMPARE(dialog.PieceSetBitmap().size(), QSize(240, 160)); // the preview of the built-in set
    QTest::mouseClick(dialog.findChild<QPushButton*>("ButtonOk"), Qt::LeftButton);
    QCOMPARE(Settings().PieceSet, 0);
    QVERIFY(board->CustomPieceSet().isNull());
}

void TestFormChangePieceSet::choiceSurvivesARestart() {
    Settings().SaveOptions = true;
    Settings().PieceSet = 8;
    QVERIFY(WriteSettingsAtExit(TExitState{}));
    Settings() = TSettings{};
    ReadStartSettings();
    QCOMPARE(Settings().PieceSet, 8);
    ApplyBoardSettings(*board, true, false);
    QCOMPARE(board->CustomPieceSet(), ShippedSet("SETECHO36"));
}

// The menu item and the board's pop-up entry open the dialog; the set of the settings is on the
// board from the start.
void TestFormChangePieceSet::mainWindowOffersTheDialogAndStartsWithTheChosenSet() {
    PrepareProgramDir(programDir, "[Common]\nPieceSet=12\n");
    QDir().mkpath(programDir.filePath("data"));
    QVERIFY(QFile::copy(PIECE_GRAPHICS_FILE, programDir.filePath("data/tessaronstd.gfx")));
    std::unique_ptr<TFormMain> form;
    TFormMain& main = ShowNewFormMain(form);
    QCOMPARE(main.ChessBrd->CustomPieceSet(), ShippedSet("SETHOTEL40"));
    for (const char* name : {"MenuItemChangePieceSet", "PopupItemPieceSet"}) {
        auto* action = main.findChild<QAction*>(name);
        QVERIFY2(action && action->isEnabled() && action->isVisible(), name);
    }
    FormChangePieceSet = new TFormChangePieceSet(main.ChessBrd, &main);
    QTimer::singleShot(0, [] { FormChangePieceSet->reject(); });
    main.findChild<QAction*>("PopupItemPieceSet")->trigger();
    QCOMPARE(FormChangePieceSet->result(), int(QDialog::Rejected));
    QCOMPARE(FormChangePieceSet->ComboBoxPieceSet->currentIndex(), 12);
    FormChangePieceSet = nullptr;
    CloseFormMain(form);
}

QTEST_MAIN(TestFormChangePieceSet)
#include "tst_formchangepieceset.moc"
