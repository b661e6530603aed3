// The board settings dialog's behaviour (showing the settings, editing, writing them back on OK)
// and the routine that puts the settings onto a board.

#include "UnitFormBoardSettings.h"

#include "BoardSettingsWidgets.h"
#include "ChessBrd.h"
#include "UnitFormChangePieceSet.h"
#include "UnitDialogFunctions.h"
#include "UnitFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <algorithm>

namespace {

// A picture is taken only when it is switched on and its file is there; otherwise the board keeps
// what it had.
void LoadPicture(bool use, const QString& path, QImage& target) {
    if (!use || path.isEmpty()) return;
    const QString file = ResolvePath(path);
    if (!QFileInfo(file).isFile()) return;
    const QImage picture(file);
    if (!picture.isNull()) target = picture;
}

// A picture the dialog can show: the path must name a file that reads as a picture.
QImage ReadPicture(const QString& path) {
    if (path.isEmpty()) return {};
    const QString file = ResolvePath(path);
    return QFileInfo(file).isFile() ? QImage(file) : QImage();
}

} // namespace

void ApplyBoardSettings(TChessBrd& board, bool withSizes, bool repaint) {
    const TSettings& s = Settings();
    QImage border = s.BorderBackground ? board.BorderBitmap() : QImage();
    QImage light = s.LightSquaresBackground ? board.SquareLight() : QImage();
    QImage dark = s.DarkSquaresBackground ? board.SquareDark() : QImage();
    LoadPicture(s.BorderBackground, s.BorderBackgroundPicture, border);
    LoadPicture(s.LightSquaresBackground, s.LightSquaresBackgroundPicture, light);
    LoadPicture(s.DarkSquaresBackground, s.DarkSquaresBackgroundPicture, dark);
    board.LoadTextures(&border, &light, &dark);

    CoordSet coords = 0;
    if (s.CoordinatesWest) coords |= West;
    if (s.CoordinatesNorth) coords |= North;
    if (s.CoordinatesEast) coords |= East;
    if (s.CoordinatesSouth) coords |= South;
    QFont font = board.CoordFont();
    font.setFamily(s.FontName);
    if (withSizes) font.setPointSize(s.FontSize);

    board.SetDisplayCoords(coords);
    board.SetCoordFont(font, ColorFromTColor(s.FontColor));
    board.SetBorderColor(ColorFromTColor(s.BorderColor));
    board.SetSquareColorLight(ColorFromTColor(s.LightSquaresColor));
    board.SetSquareColorDark(ColorFromTColor(s.DarkSquaresColor));
    if (withSizes) board.SetSizeOfBorder(s.BorderWidth);
    board.SetBoardLines(s.Gridlines);
    ApplyPieceSetSetting(board, withSizes);
    // The setters draw into the board's picture; a repaint puts it on the screen at once.
    if (repaint) {
        board.Paint();
        QCoreApplication::processEvents();
    }
}

// --- The dialog ----------------------------------------------------------------------------------------

void TFormBoardSettings::showEvent(QShowEvent* event) {
    ShowSettings();
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->window()->frameGeometry(), frameGeometry().size()));
}

void TFormBoardSettings::ShowSettings() {
    setWindowTitle(LoadLangString(4300, "Schachbrett Einstellungen"));
    TranslateWindow(this);
    LabelClipboardFormat->setText(GetField(LoadLangString(4322, "Clipboard-Format"), '|', 0));
    PageControl->setCurrentIndex(0);

    const TSettings& s = Settings();
    CheckBoxNorth->setChecked(s.CoordinatesNorth);
    CheckBoxWest->setChecked(s.CoordinatesWest);
    CheckBoxEast->setChecked(s.CoordinatesEast);
    CheckBoxSouth->setChecked(s.CoordinatesSouth);
    ShapeFontColor->SetBrushColor(ColorFromTColor(s.FontColor));
    QFont example = PanelFontExample->font();
    example.setFamily(s.FontName);
    example.setPointSize(s.FontSize);
    PanelFontExample->setFont(example);

    for (TPictureChoice* choice : Pictures())
        ShowPicture(*choice);

    ShapeBorderColor->SetBrushColor(ColorFromTColor(s.BorderColor));
    UpDownBorderWidth->setValue(s.BorderWidth);
    ComboBoxClipboardFormat->setCurrentIndex(s.BrdSnapshotFormat);
    UpDownJpegQuality->setValue(s.JpegQuality);
    ShapeSquaresLightColor->SetBrushColor(ColorFromTColor(s.LightSquaresColor));
    ShapeSquaresDarkColor->SetBrushColor(ColorFromTColor(s.DarkSquaresColor));
    CheckBoxBoardLines->setChecked(s.Gridlines);
    CheckBoxAnimateMoves->setChecked(s.AnimateMoves);
    TrackBarAnimationDelay->setValue(s.AnimationDelay);
}

// A picture whose file has gone shows as none and switched off; the stored path and switch stay
// as they are until the user confirms with OK, so a disk that is only not mounted yet costs nothing.
void TFormBoardSettings::ShowPicture(TPictureChoice& choice) {
    const TSettings& s = Settings();
    const QImage picture = ReadPicture(s.*choice.PathSetting);
    const bool found = !picture.isNull();
    choice.Path = found ? s.*choice.PathSetting : QString();
    choice.Preview->SetPicture(picture);
    choice.Use->setChecked(found && s.*choice.UseSetting);
}

void TFormBoardSettings::ButtonFontChangeClick() {
    if (const std::optional<QFont> chosen = PromptFont(PanelFontExample->font(), this))
        PanelFontExample->setFont(*chosen);
}

void TFormBoardSettings::PictureChangeClick(TPictureChoice& choice) {
    const std::optional<QString> file = PromptOpenFileName(
        LoadLangString(4316, "Hintergrundbild"), ResolvePath(choice.Path), ReadablePicturesFilter(), this);
    if (!file) return;
    const QImage picture(*file);
    if (picture.isNull()) {
        ShowCenteredMessage(LoadLangString(5351, "Das Bild %s kann nicht gelesen werden.")
                                .replace("%s", QDir::toNativeSeparators(*file)),
                            TMsgDlgType::mtWarning, mbOK, this);
        return;
    }
    choice.Preview->SetPicture(picture);
    choice.Path = *file;
}

void TFormBoardSettings::WritePicture(const TPictureChoice& choice) const {
    TSettings& s = Settings();
    s.*choice.PathSetting = choice.Path;
    s.*choice.UseSetting = choice.Use->isChecked();
}

void TFormBoardSettings::ButtonOkClick() {
    TSettings& s = Settings();
    s.CoordinatesNorth = CheckBoxNorth->isChecked();
    s.CoordinatesWest = CheckBoxWest->isChecked();
    s.CoordinatesEast = CheckBoxEast->isChecked();
    s.CoordinatesSouth = CheckBoxSouth->isChecked();
    s.FontColor = TColorFromColor(ShapeFontColor->BrushColor());
    s.FontName = PanelFontExample->font().family();
    // A font given in pixels has no size in points; the size stored before stays then.
    if (const int points = PanelFontExample->font().pointSize(); points > 0)
        s.FontSize = std::clamp(points, SettingRange::FontSizeMin, SettingRange::FontSizeMax);
    s.BorderColor = TColorFromColor(ShapeBorderColor->BrushColor());
    s.BorderWidth = UpDownBorderWidth->value();
    s.LightSquaresColor = TColorFromColor(ShapeSquaresLightColor->BrushColor());
    s.DarkSquaresColor = TColorFromColor(ShapeSquaresDarkColor->BrushColor());
    for (const TPictureChoice* choice : Pictures())
        WritePicture(*choice);
    s.Gridlines = CheckBoxBoardLines->isChecked();
    s.BrdSnapshotFormat = std::max(0, ComboBoxClipboardFormat->currentIndex());
    s.JpegQuality = UpDownJpegQuality->value();
    s.AnimateMoves = CheckBoxAnimateMoves->isChecked();
    s.AnimationDelay = TrackBarAnimationDelay->value();
    accept();
}

// The previews hold whole pictures; they are let go whenever the dialog closes.
void TFormBoardSettings::done(int result) {
    for (TPictureChoice* choice : Pictures())
        choice->Preview->Clear();
    QDialog::done(result);
}
