// The board settings dialog on real widgets, offscreen: what it shows, what OK writes and Cancel
// keeps, the pictures it takes, and the way from the dialog through the settings file onto a board,
// read back from the board's pixels: a texture that tiles, coordinates on the chosen sides, a border
// of the chosen width. The main window's menu item and the board's pop-up item open it.

#include "BoardSettingsWidgets.h"
#include "ChessBrd.h"
#include "DialogRecorder.h"
#include "FormMainTestSupport.h"
#include "UnitFormBoardSettings.h"
#include "UnitFunctions.h"
#include "UnitSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QStringList TextureNames{"marmor_border", "marmor_light", "marmor_dark",
                               "holz_border",   "holz_light",   "holz_dark"};
const QColor FontRed(255, 0, 0);
const QColor BorderBlack(0, 0, 0);
constexpr auto ChosenFamily = "Tessaron Test Serif"; // any name: nothing here depends on installed fonts

QString TexturePath(const QString& name) {
    return ProgramDir() + "data/backgrnd/" + name + ".bmp";
}

// The board-look settings as text, so that two sets can be compared in one line.
QStringList BoardSettingsOf(const TSettings& s) {
    return {QString::number(s.CoordinatesNorth),
            QString::number(s.CoordinatesWest),
            QString::number(s.CoordinatesEast),
            QString::number(s.CoordinatesSouth),
            QString::number(s.FontColor),
            s.FontName,
            QString::number(s.FontSize),
            QString::number(s.BorderColor),
            s.BorderBackgroundPicture,
            QString::number(s.BorderWidth),
            QString::number(s.LightSquaresColor),
            QString::number(s.DarkSquaresColor),
            s.LightSquaresBackgroundPicture,
            s.DarkSquaresBackgroundPicture,
            QString::number(s.Gridlines),
            QString::number(s.BorderBackground),
            QString::number(s.LightSquaresBackground),
            QString::number(s.DarkSquaresBackground),
            QString::number(s.BrdSnapshotFormat),
            QString::number(s.JpegQuality),
            QString::number(s.AnimateMoves),
            QString::number(s.AnimationDelay)};
}

// Any pixel of the area that is not the plain border colour: a coordinate written there.
bool HasWriting(const QImage& board, const QRect& area, const QColor& ground) {
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (board.pixelColor(x, y) != ground) return true;
    return false;
}

// For a person to look at: set TESSARON_BOARD_PNG_DIR to a folder.
void SavePicture(const QImage& picture, const QString& name) {
    const QString folder = qEnvironmentVariable("TESSARON_BOARD_PNG_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder)) picture.save(QDir(folder).filePath(name));
}

} // namespace

class TestFormBoardSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void showsTheSettings();
    void okWritesEveryControl();
    void cancelKeepsTheSettings();
    void missingPictureIsKeptUntilOk();
    void pictureDialogTakesEveryReadableFormat();
    void unreadablePictureIsRefusedWithAMessage();
    void roundTripThroughTheFileOntoABoard();
    void coordinatesGoToTheChosenSides_data();
    void coordinatesGoToTheChosenSides();
    void withoutSizesTheBoardKeepsItsOwn();
    void switchedOffOrMissingPictures();
    void menuAndPopupOpenTheDialog();

private:
    // Changes every control of the dialog away from the defaults, answering its dialogs as a person.
    void EditEverything();
    void ReadSettingsFile();

    QTemporaryDir FDir;
    std::unique_ptr<DialogRecorder> FDialogs;
    std::unique_ptr<TFormBoardSettings> FForm;
};

void TestFormBoardSettings::init() {
    PrepareProgramDir(FDir, "[Common]\nLanguage=German\n");
    QDir().mkpath(FDir.filePath("data/backgrnd"));
    for (const QString& name : TextureNames)
        QVERIFY(QFile::copy(QString(TEXTURE_DIR "/%1.bmp").arg(name), TexturePath(name)));
    ReadSettingsFile();
    FDialogs = std::make_unique<DialogRecorder>();
    FForm = std::make_unique<TFormBoardSettings>();
}

void TestFormBoardSettings::cleanup() {
    FForm.reset();
    FDialogs.reset();
    CloseLanguageFile();
    SetProgramDir({});
}

void TestFormBoardSettings::ReadSettingsFile() {
    Settings() = TSettings{};
    ReadStartSettings();
}

void TestFormBoardSettings::EditEverything() {
    TFormBoardSettings& f = *FForm;
    f.CheckBoxNorth->setChecked(false);
    f.CheckBoxEast->setChecked(false);
    FDialogs->FontAnswers << QFont(ChosenFamily, 11);
    QTest::mouseClick(f.ButtonFontChange, Qt::LeftButton);
    FDialogs->ColorAnswers << FontRed << BorderBlack << QColor(250, 240, 200) << QColor(90, 60, 30);
    for (TColorShape* shape :
         {f.ShapeFontColor, f.ShapeBorderColor, f.ShapeSquaresLightColor, f.ShapeSquaresDarkColor})
        QTest::mouseClick(shape, Qt::LeftButton);
    f.UpDownBorderWidth->setValue(40);
    FDialogs->FileAnswers << TexturePath("holz_border") << TexturePath("holz_light")
                          << TexturePath("holz_dark");
    for (auto* choice : {&f.Border, &f.LightSquares, &f.DarkSquares})
        QTest::mouseClick(choice->Change, Qt::LeftButton);
    f.Border.Use->setChecked(false);
    f.ComboBoxClipboardFormat->setCurrentIndex(1);
    f.UpDownJpegQuality->setValue(55);
    f.CheckBoxBoardLines->setChecked(true);
    f.CheckBoxAnimateMoves->setChecked(false);
    f.TrackBarAnimationDelay->setValue(25);
}

void TestFormBoardSettings::showsTheSettings() {
    Settings().CoordinatesEast = false;
    Settings().BorderWidth = 17;
    FForm->PageControl->setCurrentIndex(2);
    FForm->show();
    TFormBoardSettings& f = *FForm;
    QCOMPARE(f.windowTitle(), "Schachbrett Einstellungen");
    QCOMPARE(f.PageControl->currentIndex(), 0);
    QCOMPARE(f.PageControl->tabText(3), "Figuren");
    QVERIFY(f.CheckBoxNorth->isChecked());
    QVERIFY(!f.CheckBoxEast->isChecked());
    QCOMPARE(f.ShapeFontColor->BrushColor(), QColor(Qt::white));
    QCOMPARE(f.PanelFontExample->font().pointSize(), 7);
    QCOMPARE(f.PanelFontExample->text(), "ABC123");
    QCOMPARE(f.ShapeBorderColor->BrushColor(), QColor(128, 128, 0)); // olive
    QCOMPARE(f.UpDownBorderWidth->value(), 17);
    QCOMPARE(f.LabelClipboardFormat->text(), "Clipboard-Format");
    QCOMPARE(f.ComboBoxClipboardFormat->currentText(), "BITMAP");
    QCOMPARE(f.UpDownJpegQuality->value(), 80);
    QCOMPARE(f.TrackBarAnimationDelay->value(), 5);
    QVERIFY(f.CheckBoxAnimateMoves->isChecked());
    // The shipped marble is there out of the box, switched on and shown.
    for (auto* choice : {&f.Border, &f.LightSquares, &f.DarkSquares}) {
        QVERIFY(choice->Use->isChecked());
        QCOMPARE(choice->Preview->Picture().size(), QSize(128, 128));
    }
    QCOMPARE(f.Border.Path, Settings().BorderBackgroundPicture);
    for (int page = 0; page < f.PageControl->count(); ++page) {
        f.PageControl->setCurrentIndex(page);
        SavePicture(f.grab().toImage(), QString("board-settings-page-%1.png").arg(page + 1));
    }
    // The up-down fields run round.
    f.UpDownBorderWidth->setValue(100);
    f.UpDownBorderWidth->stepBy(1);
    QCOMPARE(f.UpDownBorderWidth->value(), 0);
}

void TestFormBoardSettings::okWritesEveryControl() {
    FForm->show();
    EditEverything();
    QCOMPARE(FDialogs->Colors.first().Initial,
             QColor(Qt::white)); // the dialog starts from the shape's colour
    QCOMPARE(FDialogs->Fonts.first().Initial.pointSize(), 7);
    QTest::mouseClick(FForm->ButtonOk, Qt::LeftButton);
    QCOMPARE(FForm->result(), int(QDialog::Accepted));
    QVERIFY(!FForm->isVisible());
    const TSettings& s = Settings();
    QVERIFY(!s.CoordinatesNorth && s.CoordinatesWest && !s.CoordinatesEast && s.CoordinatesSouth);
    QCOMPARE(s.FontName, ChosenFamily);
    QCOMPARE(s.FontSize, 11);
    QCOMPARE(ColorFromTColor(s.FontColor), FontRed);
    QCOMPARE(ColorFromTColor(s.BorderColor), BorderBlack);
    QCOMPARE(ColorFromTColor(s.LightSquaresColor), QColor(250, 240, 200));
    QCOMPARE(ColorFromTColor(s.DarkSquaresColor), QColor(90, 60, 30));
    QCOMPARE(s.BorderWidth, 40);
    QCOMPARE(s.BorderBackgroundPicture, TexturePath("holz_border"));
    QCOMPARE(s.LightSquaresBackgroundPicture, TexturePath("holz_light"));
    QCOMPARE(s.DarkSquaresBackgroundPicture, TexturePath("holz_dark"));
    QVERIFY(!s.BorderBackground && s.LightSquaresBackground && s.DarkSquaresBackground);
    QVERIFY(s.Gridlines);
    QCOMPARE(s.BrdSnapshotFormat, 1);
    QCOMPARE(s.JpegQuality, 55);
    QVERIFY(!s.AnimateMoves);
    QCOMPARE(s.AnimationDelay, 25);
    // Closing let go of the pictures.
    QVERIFY(FForm->Border.Preview->Picture().isNull());
}

void TestFormBoardSettings::cancelKeepsTheSettings() {
    const QStringList before = BoardSettingsOf(Settings());
    FForm->show();
    EditEverything();
    QTest::mouseClick(FForm->ButtonCancel, Qt::LeftButton);
    QCOMPARE(FForm->result(), int(QDialog::Rejected));
    QCOMPARE(BoardSettingsOf(Settings()), before);
    // Escape is a cancel too.
    FForm->show();
    EditEverything();
    QTest::keyClick(FForm.get(), Qt::Key_Escape);
    QVERIFY(!FForm->isVisible());
    QCOMPARE(BoardSettingsOf(Settings()), before);
}

// A picture whose file is gone (a disk not mounted yet) shows as none, but the stored path survives
// a cancel; only OK forgets it.
void TestFormBoardSettings::missingPictureIsKeptUntilOk() {
    const QString gone = FDir.filePath("elsewhere/marmor_light.bmp");
    const QString border = Settings().BorderBackgroundPicture;
    Settings().LightSquaresBackgroundPicture = gone;
    FForm->show();
    QVERIFY(!FForm->LightSquares.Use->isChecked());
    QVERIFY(FForm->LightSquares.Preview->Picture().isNull());
    QVERIFY(FForm->Border.Use->isChecked()); // the others are there
    FForm->reject();
    QCOMPARE(Settings().LightSquaresBackgroundPicture, gone);
    QVERIFY(Settings().LightSquaresBackground);

    FForm->show();
    QTest::mouseClick(FForm->ButtonOk, Qt::LeftButton);
    QCOMPARE(Settings().LightSquaresBackgroundPicture, QString());
    QVERIFY(!Settings().LightSquaresBackground);
    QCOMPARE(Settings().BorderBackgroundPicture, border);
}

void TestFormBoardSettings::pictureDialogTakesEveryReadableFormat() {
    const QString png = FDir.filePath("photo.png");
    const QString jpeg = FDir.filePath("photo.JPG");
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(QColor(10, 200, 30));
    QVERIFY(picture.save(png, "PNG"));
    QVERIFY(picture.save(jpeg, "JPEG"));
    FForm->show();
    FDialogs->FileAnswers << png << jpeg;
    QTest::mouseClick(FForm->Border.Change, Qt::LeftButton);
    QCOMPARE(FForm->Border.Preview->Picture().size(), QSize(30, 20));
    QTest::mouseClick(FForm->DarkSquares.Change, Qt::LeftButton);
    const TFileRequest& asked = FDialogs->Files.first();
    QCOMPARE(asked.Kind, TFileDialogKind::Open);
    QCOMPARE(asked.Directory, TexturePath("marmor_border")); // opens on the working path
    for (const char* pattern : {"*.bmp", "*.png", "*.jpg", "*.jpeg", "*.BMP", "*.PNG", "*.JPG"})
        QVERIFY2(asked.Filter.contains(pattern), pattern);
    QTest::mouseClick(FForm->ButtonOk, Qt::LeftButton);
    QCOMPARE(Settings().BorderBackgroundPicture, png);
    QCOMPARE(Settings().DarkSquaresBackgroundPicture, jpeg);
    QVERIFY(FDialogs->Messages.isEmpty());
}

void TestFormBoardSettings::unreadablePictureIsRefusedWithAMessage() {
    const QString text = FDir.filePath("notes.bmp");
    QFile file(text);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("not a picture");
    file.close();
    const QString light = Settings().LightSquaresBackgroundPicture;
    FForm->show();
    FDialogs->FileAnswers << text;
    QTest::mouseClick(FForm->LightSquares.Change, Qt::LeftButton);
    QCOMPARE(FDialogs->Messages.size(), 1);
    QVERIFY(FDialogs->Messages.first().Text.contains("notes.bmp"));
    QCOMPARE(FForm->LightSquares.Path, light);
    QCOMPARE(FForm->LightSquares.Preview->Picture().size(), QSize(128, 128));
    // No file chosen: nothing changes and nothing is said.
    QTest::mouseClick(FForm->LightSquares.Change, Qt::LeftButton);
    QCOMPARE(FDialogs->Messages.size(), 1);
    QCOMPARE(FForm->LightSquares.Path, light);
}

// The dialog's choice, written as the program writes it at its end and read as at its start, puts
// the wood onto a new board: the texture tiles from the board's corner over every square of its
// colour, the border is 40 pixels wide and the coordinates stand west and south only.
void TestFormBoardSettings::roundTripThroughTheFileOntoABoard() {
    FForm->show();
    EditEverything();
    QTest::mouseClick(FForm->ButtonOk, Qt::LeftButton);
    const QStringList chosen = BoardSettingsOf(Settings());
    QVERIFY(WriteSettingsAtExit(TExitState{}));
    ReadSettingsFile();
    QCOMPARE(BoardSettingsOf(Settings()), chosen);

    TChessBrd board;
    board.SetPosition(std::string(64, ' '));
    ApplyBoardSettings(board, true, false);
    QCOMPARE(board.SizeOfBorder(), 40);
    QCOMPARE(board.width(), 8 * board.SizeOfSquare() + 80);
    QCOMPARE(board.CoordFont().family(), ChosenFamily);
    QCOMPARE(board.CoordFont().pointSize(), 11);
    QVERIFY(board.BoardLines());
    const QImage& pixels = board.BackingImage();
    const QImage light(TexturePath("holz_light"));
    const QImage dark(TexturePath("holz_dark"));
    const int sq = board.SizeOfSquare();
    for (int s = A8; s <= H1; ++s) {
        const QImage& texture = IsLightSquare(s) ? light : dark;
        const QPoint origin = board.SquareOrigin(s);
        // Inside the square, clear of the separating lines.
        for (const QPoint offset : {QPoint(2, 2), QPoint(sq / 2, sq / 3), QPoint(sq - 2, sq - 2)}) {
            const QPoint at = origin + offset;
            QCOMPARE(pixels.pixelColor(at),
                     texture.pixelColor(at.x() % texture.width(), at.y() % texture.height()));
        }
    }
    // The border picture is switched off: the plain border colour, coordinates on two sides only.
    const int b = board.SizeOfBorder();
    const int inner = 8 * sq;
    QCOMPARE(pixels.pixelColor(b / 2, b / 2), BorderBlack);
    QVERIFY(HasWriting(pixels, QRect(1, b, b - 2, inner), BorderBlack));              // west
    QVERIFY(HasWriting(pixels, QRect(b, b + inner + 1, inner, b - 2), BorderBlack));  // south
    QVERIFY(!HasWriting(pixels, QRect(b + inner + 1, b, b - 2, inner), BorderBlack)); // east
    QVERIFY(!HasWriting(pixels, QRect(b, 1, inner, b - 2), BorderBlack));             // north

    Settings().BorderBackground = true;
    Settings().FontColor = TColorFromColor(Qt::white);
    ApplyBoardSettings(board, true, false);
    board.NewGame();
    SavePicture(board.BackingImage(), "board-wood.png");
}

void TestFormBoardSettings::coordinatesGoToTheChosenSides_data() {
    QTest::addColumn<bool>("west");
    QTest::addColumn<bool>("north");
    QTest::addColumn<bool>("east");
    QTest::addColumn<bool>("south");
    QTest::newRow("none") << false << false << false << false;
    QTest::newRow("all four") << true << true << true << true;
    QTest::newRow("north and east") << false << true << true << false;
    QTest::newRow("west only") << true << false << false << false;
}

void TestFormBoardSettings::coordinatesGoToTheChosenSides() {
    QFETCH(bool, west);
    QFETCH(bool, north);
    QFETCH(bool, east);
    QFETCH(bool, south);
    TSettings& s = Settings();
    std::tie(s.CoordinatesWest, s.CoordinatesNorth, s.CoordinatesEast, s.CoordinatesSouth) =
        std::tuple(west, north, east, south);
    s.BorderBackground = false;
    s.BorderColor = TColorFromColor(BorderBlack);
    s.FontColor = TColorFromColor(FontRed);
    TChessBrd board;
    ApplyBoardSettings(board, true, false);
    const QImage& pixels = board.BackingImage();
    const int b = board.SizeOfBorder();
    const int inner = 8 * board.SizeOfSquare();
    QCOMPARE(HasWriting(pixels, QRect(1, b, b - 2, inner), BorderBlack), west);
    QCOMPARE(HasWriting(pixels, QRect(b, 1, inner, b - 2), BorderBlack), north);
    QCOMPARE(HasWriting(pixels, QRect(b + inner + 1, b, b - 2, inner), BorderBlack), east);
    QCOMPARE(HasWriting(pixels, QRect(b, b + inner + 1, inner, b - 2), BorderBlack), south);
}

// The set-position editor's and the tutorial's boards take the look but keep their sizes.
void TestFormBoardSettings::withoutSizesTheBoardKeepsItsOwn() {
    Settings().BorderWidth = 40;
    Settings().FontSize = 12;
    Settings().FontName = ChosenFamily;
    TChessBrd board;
    ApplyBoardSettings(board, false, false);
    QCOMPARE(board.SizeOfBorder(), TChessBrd::DefaultBorderSize);
    QCOMPARE(board.CoordFont().pointSize(), 7);
    QCOMPARE(board.CoordFont().family(), ChosenFamily);
    // The marble of the defaults is on it, tiled from the corner.
    const QImage border(TexturePath("marmor_border"));
    QCOMPARE(board.BorderBitmap().size(), border.size());
    QCOMPARE(board.BackingImage().pixelColor(5, 3), border.pixelColor(5, 3));
}

void TestFormBoardSettings::switchedOffOrMissingPictures() {
    TChessBrd board;
    board.SetPosition(std::string(64, ' '));
    ApplyBoardSettings(board, true, false);
    QVERIFY(!board.SquareDark().isNull());
    // A file gone: the board keeps the texture it had.
    Settings().DarkSquaresBackgroundPicture = FDir.filePath("gone.bmp");
    ApplyBoardSettings(board, true, false);
    QCOMPARE(board.SquareDark(), QImage(TexturePath("marmor_dark")));
    // Switched off: the texture goes even though its path is set.
    Settings().DarkSquaresBackgroundPicture = TexturePath("marmor_dark");
    Settings().DarkSquaresBackground = false;
    ApplyBoardSettings(board, true, false);
    QVERIFY(board.SquareDark().isNull());
    const QPoint inA7 = board.SquareOrigin(A7) + QPoint(3, 3);
    QCOMPARE(board.BackingImage().pixelColor(inA7), ColorFromTColor(Settings().DarkSquaresColor));
}

void TestFormBoardSettings::menuAndPopupOpenTheDialog() {
    std::unique_ptr<TFormMain> main;
    TFormMain& form = ShowNewFormMain(main);
    FForm = std::make_unique<TFormBoardSettings>(&form);
    FormBoardSettings = FForm.get();
    QVERIFY(form.MenuItemBoardSettings->isEnabled());
    QVERIFY(form.PopupItemBoardSettings->isEnabled());
    form.BitBtnWeiterClick();

    QTimer::singleShot(0, FForm.get(), [this] {
        FForm->UpDownBorderWidth->setValue(30);
        FForm->CheckBoxBoardLines->setChecked(true);
        FForm->TrackBarAnimationDelay->setValue(9);
        QTest::mouseClick(FForm->ButtonOk, Qt::LeftButton);
    });
    form.MenuItemBoardSettings->trigger();
    SavePicture(form.grab().toImage(), "window-marble.png");
    QVERIFY(form.GameStopped);
    QCOMPARE(form.ChessBrd->SizeOfBorder(), 30);
    QVERIFY(form.ChessBrd->BoardLines());
    QCOMPARE(form.ChessBrd->AnimationDelay(), 9);

    QTimer::singleShot(0, FForm.get(), [this] {
        FForm->CheckBoxBoardLines->setChecked(false);
        QTest::mouseClick(FForm->ButtonCancel, Qt::LeftButton);
    });
    form.PopupItemBoardSettings->trigger();
    QVERIFY(form.ChessBrd->BoardLines());
    QVERIFY(Settings().Gridlines);

    FormBoardSettings = nullptr;
    FForm.reset();
    CloseFormMain(main);
}

QTEST_MAIN(TestFormBoardSettings)
#include "tst_formboardsettings.moc"
