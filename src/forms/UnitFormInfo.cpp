#include "UnitFormInfo.h"

#include "UnitFunctions.h"
#include "UnitLanguages.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

TFormInfo* FormInfo = nullptr;

namespace {

constexpr auto ProductName = "TESSARON";
constexpr int ProductPixelSize = 30;
constexpr int CreditsHeight = 120;
constexpr int BoxWidth = 420;
constexpr auto DefaultCredits =
    "TESSARON|Schach spielen und lernen||Spielprogramm, Schachmaschine und Lernprogramm|das TESSARON-Team||"
    "Figurensätze|gezeichnet aus GNU FreeFont, DejaVu und Symbola||Texturen, Startbild und Programmsymbol|"
    "beim Bau des Programms berechnet||Danke allen, die Schach lehren und lernen!";

// The libraries and fonts the program is built from, with their licences.
QString LibraryList() {
    return QStringList{QString("Qt %1 – GNU LGPL 3").arg(qVersion()),
                       "Qt Charts – GNU GPL 3",
                       "SDL 2, SDL_mixer 2 – zlib",
                       "FluidSynth – GNU LGPL 2.1",
                       "TimGM6mb sound font – GNU GPL 2",
                       "libjpeg-turbo – IJG, BSD",
                       "SimpleIni – MIT",
                       "eSpeak NG (spoken squares, made at build time) – GNU GPL 3",
                       "GNU FreeFont – GNU GPL 3 (font exception)",
                       "DejaVu Fonts – Bitstream Vera",
                       "Symbola – free use"}
        .join('\n');
}

} // namespace

TCreditsScroller::TCreditsScroller(QWidget* parent) : QWidget(parent) {
    setObjectName("ScrollerCredits");
    setMinimumHeight(CreditsHeight);
    Timer.setInterval(TickMs);
    connect(&Timer, &QTimer::timeout, this, &TCreditsScroller::Step);
}

void TCreditsScroller::SetLines(const QStringList& lines) {
    FLines = lines;
    FOffset = 0;
    update();
}

int TCreditsScroller::LineHeight() const {
    return fontMetrics().lineSpacing();
}

void TCreditsScroller::Step() {
    const int travel = height() + LineHeight() * static_cast<int>(FLines.size());
    FOffset = FOffset >= travel ? 0 : FOffset + 1;
    update();
}

void TCreditsScroller::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const int lineHeight = LineHeight();
    int top = height() - FOffset;
    for (const QString& line : FLines) {
        painter.drawText(QRect(0, top, width(), lineHeight), Qt::AlignHCenter | Qt::AlignVCenter, line);
        top += lineHeight;
    }
}

void TCreditsScroller::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FOffset = 0;
    Timer.start();
}

void TCreditsScroller::hideEvent(QHideEvent* event) {
    Timer.stop();
    QWidget::hideEvent(event);
}

TFormInfo::TFormInfo(QWidget* parent) : QDialog(parent) {
    setObjectName("FormInfo");
    setWindowTitle(QString("Info über ") + ProductName);
    setFixedWidth(BoxWidth);
    LabelProduct = new QLabel(ProductName, this);
    LabelProduct->setObjectName("LabelProduct");
    QFont big = LabelProduct->font();
    big.setPixelSize(ProductPixelSize);
    big.setBold(true);
    LabelProduct->setFont(big);
    LabelVersion = new QLabel(this);
    LabelVersion->setObjectName("LabelVersion");
    LabelLibraries = new QLabel(this);
    LabelLibraries->setObjectName("LabelLibraries");
    LabelLibraries->setTextInteractionFlags(Qt::TextSelectableByMouse);
    ScrollerCredits = new TCreditsScroller(this);
    ButtonOk = new QPushButton("&Ok", this);
    ButtonOk->setObjectName("ButtonOk");
    ButtonOk->setProperty("Tag", 10);
    ButtonOk->setDefault(true);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    for (QLabel* label : {LabelProduct, LabelVersion, LabelLibraries}) {
        label->setAlignment(Qt::AlignHCenter);
        layout->addWidget(label);
    }
    layout->addWidget(ScrollerCredits, 1);
    layout->addWidget(ButtonOk, 0, Qt::AlignHCenter);
}

void TFormInfo::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TFormInfo::FormShow() {
    TranslateWindow(this);
    setWindowTitle(LoadLangString(1904, "&Info über ").remove('&') + ProductName);
    LabelVersion->setText(LoadLangString(5420, "Version %s").replace("%s", TESSARON_VERSION));
    LabelLibraries->setText(LoadLangString(5421, "Gebaut mit:") + '\n' + LibraryList());
    const QString credits = LoadLangString(5422, DefaultCredits);
    QStringList lines;
    for (int i = 0; i < CountFields(credits, '|'); ++i)
        lines << GetField(credits, '|', i);
    ScrollerCredits->SetLines(lines);
}
