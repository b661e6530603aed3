#include "UnitFormTips.h"

#include "TipsPictures.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"
#include "UnitSettings.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

TFormTips* FormTips = nullptr;

namespace {

constexpr int FirstTipText = 3910;
constexpr int LastTipText = 3950;
constexpr auto DesignCaption = "Tips vom Master";
// A heading shorter than this many characters fits in the larger size.
constexpr int LongHeadingLength = 21;
constexpr int ShortHeadingPointSize = 12;
constexpr int LongHeadingPointSize = 10;
constexpr QSize TipTextArea(330, 150);
constexpr QSize MasterPictureSize(150, 230);
constexpr int TipPictureSide = 40;
constexpr int TipPanelRadius = 10;
constexpr int TipPanelPadding = 12;

// The white rounded card the tip text and the small tip picture sit on.
class TTipCard final : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Mid), 1));
        painter.setBrush(Qt::white);
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), TipPanelRadius,
                                TipPanelRadius);
    }
};

} // namespace

QStringList LoadTipTexts() {
    QStringList tips;
    for (int number = FirstTipText; number <= LastTipText; ++number) {
        const QString tip = LoadLangString(number, {});
        if (!tip.isEmpty()) tips << tip;
    }
    return tips;
}

QString TipCounterText(int index, int count) {
    return count == 0 ? QString("(0/0)") : QString("(%1/%2)").arg(index + 1).arg(count);
}

TFormTips::TFormTips(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      FRandom(std::random_device{}()) {
    setObjectName("FormTips");
    setWindowTitle(DesignCaption);
    setModal(true);

    LabelTip = new QLabel("Wußten Sie schon...?", this);
    LabelTip->setObjectName("LabelTip");
    LabelTip->setProperty("Tag", 3903);
    QFont bold = LabelTip->font();
    bold.setBold(true);
    LabelTip->setFont(bold);

    LabelAnzahlTips = new QLabel(TipCounterText(0, 0), this);
    LabelAnzahlTips->setObjectName("LabelAnzahlTips");
    ButtonNext = new QPushButton("&nächster Tip", this);
    ButtonNext->setObjectName("ButtonNext");
    ButtonNext->setProperty("Tag", 3901);
    ButtonClose = new QPushButton("&Schließen", this);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setProperty("Tag", 21);
    ButtonClose->setDefault(true);
    CheckBoxShowAtStart = new QCheckBox("Tips bei jedem Start anzeigen", this);
    CheckBoxShowAtStart->setObjectName("CheckBoxShowAtStart");
    CheckBoxShowAtStart->setProperty("Tag", 3902);
    ImageMaster = new QLabel(this);
    ImageMaster->setObjectName("ImageMaster");
    ImageMaster->setPixmap(MasterPicture(MasterPictureSize));
    ImageMaster->setFixedSize(MasterPictureSize);
    connect(ButtonNext, &QPushButton::clicked, this, &TFormTips::ButtonNextClick);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject); // Escape closes as well

    auto* heading = new QHBoxLayout;
    heading->addWidget(LabelTip, 1);
    heading->addWidget(LabelAnzahlTips);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(CheckBoxShowAtStart, 1);
    buttons->addWidget(ButtonNext);
    buttons->addWidget(ButtonClose);
    auto* left = new QVBoxLayout;
    left->addLayout(heading);
    left->addWidget(CreateTipPanel(), 1);
    left->addLayout(buttons);
    auto* columns = new QHBoxLayout(this);
    columns->addLayout(left, 1);
    columns->addWidget(ImageMaster, 0, Qt::AlignTop);
}

QWidget* TFormTips::CreateTipPanel() {
    auto* card = new TTipCard(this);
    auto* picture = new QLabel(card);
    picture->setObjectName("ImageTip");
    picture->setPixmap(TipPicture(TipPictureSide));
    LabelText = new QLabel(card);
    LabelText->setObjectName("LabelText");
    LabelText->setWordWrap(true);
    LabelText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LabelText->setMinimumSize(TipTextArea);
    // Black on the white card, whatever colours the desktop gives windows.
    QPalette onWhite = LabelText->palette();
    onWhite.setColor(QPalette::WindowText, Qt::black);
    LabelText->setPalette(onWhite);
    auto* layout = new QHBoxLayout(card);
    layout->setContentsMargins(TipPanelPadding, TipPanelPadding, TipPanelPadding, TipPanelPadding);
    layout->addWidget(picture, 0, Qt::AlignTop);
    layout->addWidget(LabelText, 1);
    return card;
}

void TFormTips::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget())
        move(CenteredPosition(owner->frameGeometry(), frameGeometry().size()));
}

void TFormTips::FormShow() {
    setWindowTitle(LoadLangString(3900, DesignCaption));
    TranslateForms();
    FTips = LoadTipTexts();
    QFont heading = LabelTip->font();
    heading.setPointSize(LabelTip->text().size() < LongHeadingLength ? ShortHeadingPointSize
                                                                     : LongHeadingPointSize);
    LabelTip->setFont(heading);
    TSettings& s = Settings();
    if (s.ShowTipsRandom) {
        FIndex = FTips.isEmpty() ? 0 : std::uniform_int_distribution<int>(0, TipCount() - 1)(FRandom);
    } else {
        // The very first opening shows the first tip; every later one starts anywhere.
        FIndex = 0;
        s.ShowTipsRandom = true;
    }
    CheckBoxShowAtStart->setChecked(s.ShowTips);
    ShowTip();
}

void TFormTips::ShowTip() {
    LabelAnzahlTips->setText(TipCounterText(FIndex, TipCount()));
    LabelText->setText(FTips.isEmpty() ? QString() : QString(FTips[FIndex]).replace('|', '\n'));
}

void TFormTips::ButtonNextClick() {
    if (FTips.isEmpty()) return;
    FIndex = (FIndex + 1) % TipCount();
    ShowTip();
}

void TFormTips::done(int result) {
    Settings().ShowTips = CheckBoxShowAtStart->isChecked();
    QDialog::done(result);
}
