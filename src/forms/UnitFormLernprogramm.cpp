#include "UnitFormLernprogramm.h"

#include "ChessBrd.h"
#include "UnitDialogFunctions.h"
#include "UnitFormBoardSettings.h"
#include "UnitLanguages.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QSlider>
#include <QStandardItemModel>
#include <QStyledItemDelegate>
#include <QToolButton>

TFormLernprogramm* FormLernprogramm = nullptr;

namespace {

constexpr auto DesignCaption = "Lernprogramm";
constexpr QSize ClientSize(656, 552);
constexpr int Margin = 6;
constexpr int BoardSquare = 40;
constexpr int BoardBorder = 24;
constexpr int BoardWidth = 8 * BoardSquare + 2 * BoardBorder;
constexpr QRect MemoRect(Margin, Margin + BoardWidth + Margin, BoardWidth, 160);
constexpr int HiddenBoardMemoTop = 6; // the text field's top while the board is hidden
constexpr int ColumnLeft = 2 * Margin + BoardWidth + 2;
constexpr int ColumnWidth = ClientSize.width() - ColumnLeft - Margin;
constexpr int TopicSectionWidth = 209;
constexpr int CountSectionWidth = 45;
constexpr int HeaderHeight = 20;
constexpr int ListHeight = 404;
constexpr int TrackBarTop = Margin + HeaderHeight + ListHeight + Margin;
constexpr int TrackBarHeight = 30;
constexpr int StepButtonTop = TrackBarTop + TrackBarHeight + Margin;
constexpr int StepButtonSize = 30;
constexpr int ButtonHeight = 28;
constexpr int ButtonTop = ClientSize.height() - Margin - ButtonHeight;
constexpr int ButtonWidth = (ColumnWidth - Margin) / 2;
constexpr int SlideShowInterval = 2000;
constexpr int StepCountRole = Qt::UserRole;
constexpr auto StepCountFont = "Arial";
constexpr int StepCountMargin = 2;

// A topic row: its title from the left edge, its step count right-aligned in a smaller font.
class TTopicDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem row = option;
        initStyleOption(&row, index);
        const QString count = " " + QString::number(index.data(StepCountRole).toInt());
        row.text.clear();
        row.widget->style()->drawControl(QStyle::CE_ItemViewItem, &row, painter, row.widget);

        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->setFont(option.font);
        painter->drawText(option.rect, Qt::AlignLeft | Qt::AlignVCenter, index.data().toString());
        QFont small(StepCountFont);
        if (option.font.pointSize() > 0)
            small.setPointSize(std::max(1, option.font.pointSize() - 1));
        else
            small.setPixelSize(std::max(1, option.font.pixelSize() - 1));
        painter->setFont(small);
        const QRect countRect = option.rect.adjusted(0, StepCountMargin, -StepCountMargin, 0);
        painter->drawText(countRect, Qt::AlignRight | Qt::AlignTop, count);
        painter->restore();
    }
};

QToolButton* StepButton(QWidget* parent, const QString& name, int tag, const QString& hint,
                        QStyle::StandardPixmap icon, int index) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setProperty("Tag", tag);
    button->setToolTip(hint);
    button->setIcon(parent->style()->standardIcon(icon));
    button->setGeometry(ColumnLeft + index * (StepButtonSize + Margin), StepButtonTop, StepButtonSize,
                        StepButtonSize);
    return button;
}

} // namespace

TFormLernprogramm::TFormLernprogramm(QWidget* parent) : QDialog(parent) {
    setObjectName("FormLernprogramm");
    setWindowTitle(DesignCaption);
    setFixedSize(ClientSize);

    ChessBrdLearn = new TChessBrd(this);
    ChessBrdLearn->setObjectName("ChessBrdLearn");
    ChessBrdLearn->SetSizeOfSquare(BoardSquare);
    ChessBrdLearn->SetSizeOfBorder(BoardBorder);
    ChessBrdLearn->SetResizable(false);
    ChessBrdLearn->setEnabled(false);
    ChessBrdLearn->move(Margin, Margin);

    MemoText = new QPlainTextEdit(this);
    MemoText->setObjectName("MemoText");
    MemoText->setReadOnly(true);
    MemoText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoText->setGeometry(MemoRect);
    FMemoTop = MemoRect.top();
    FMemoHeight = MemoRect.height();

    CreateTopicList();
    CreateStepControls();

    ButtonSetPosition = new QPushButton("&Übernehmen", this);
    ButtonSetPosition->setObjectName("ButtonSetPosition");
    ButtonSetPosition->setProperty("Tag", 3801);
    ButtonSetPosition->setToolTip("aktuelle Position als neues Spiel übernehmen");
    ButtonSetPosition->setGeometry(ColumnLeft, ButtonTop, ButtonWidth, ButtonHeight);
    ButtonSetPosition->setAutoDefault(false);
    ButtonSetPosition->hide();
    connect(ButtonSetPosition, &QPushButton::clicked, this, &TFormLernprogramm::ButtonSetPositionClick);

    ButtonClose = new QPushButton("&Schließen", this);
    ButtonClose->setObjectName("ButtonClose");
    ButtonClose->setProperty("Tag", 21);
    ButtonClose->setGeometry(ColumnLeft + ButtonWidth + Margin, ButtonTop, ButtonWidth, ButtonHeight);
    ButtonClose->setAutoDefault(false);
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::reject);

    TimerPosition.setInterval(SlideShowInterval);
    connect(&TimerPosition, &QTimer::timeout, this, &TFormLernprogramm::TimerPositionTimer);
}

void TFormLernprogramm::CreateTopicList() {
    auto* columns = new QStandardItemModel(0, 2, this);
    columns->setHorizontalHeaderLabels({"Thema", "Anzahl"});
    HeaderControlThemen = new QHeaderView(Qt::Horizontal, this);
    HeaderControlThemen->setObjectName("HeaderControlThemen");
    HeaderControlThemen->setModel(columns);
    HeaderControlThemen->setSectionsClickable(false);
    HeaderControlThemen->resizeSection(0, TopicSectionWidth);
    HeaderControlThemen->resizeSection(1, CountSectionWidth);
    HeaderControlThemen->setStretchLastSection(true);
    HeaderControlThemen->setGeometry(ColumnLeft, Margin, ColumnWidth, HeaderHeight);

    ListBoxThemen = new QListWidget(this);
    ListBoxThemen->setObjectName("ListBoxThemen");
    ListBoxThemen->setProperty("Tag", 3806);
    ListBoxThemen->setToolTip("wählen Sie ein Thema aus");
    ListBoxThemen->setItemDelegate(new TTopicDelegate(ListBoxThemen));
    ListBoxThemen->setGeometry(ColumnLeft, Margin + HeaderHeight, ColumnWidth, ListHeight);
    // A click and the arrow keys both make another row current; a second click on the topic shown
    // changes nothing, so its step is not played again under the reader's eyes.
    connect(ListBoxThemen, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0) ListBoxThemenClick();
    });
}

void TFormLernprogramm::CreateStepControls() {
    TrackBarPosition = new QSlider(Qt::Horizontal, this);
    TrackBarPosition->setObjectName("TrackBarPosition");
    TrackBarPosition->setTickPosition(QSlider::TicksBelow);
    TrackBarPosition->setTickInterval(1);
    TrackBarPosition->setPageStep(1);
    TrackBarPosition->setRange(1, 1);
    TrackBarPosition->setGeometry(ColumnLeft, TrackBarTop, ColumnWidth, TrackBarHeight);
    connect(TrackBarPosition, &QSlider::valueChanged, this,
            [this] { ShowStep(TrackBarPosition->value(), false); });

    SpeedButtonStart = StepButton(this, "SpeedButtonStart", 3802, "Start", QStyle::SP_MediaPlay, 0);
    SpeedButtonStop = StepButton(this, "SpeedButtonStop", 3803, "Stop", QStyle::SP_MediaStop, 1);
    SpeedButtonLast = StepButton(this, "SpeedButtonLast", 3804, "Zurück", QStyle::SP_MediaSeekBackward, 2);
    SpeedButtonNext = StepButton(this, "SpeedButtonNext", 3805, "Vor", QStyle::SP_MediaSeekForward, 3);
    connect(SpeedButtonStart, &QToolButton::clicked, this, &TFormLernprogramm::SpeedButtonStartClick);
    connect(SpeedButtonStop, &QToolButton::clicked, this, &TFormLernprogramm::SpeedButtonStopClick);
    connect(SpeedButtonLast, &QToolButton::clicked, this, &TFormLernprogramm::SpeedButtonLastClick);
    connect(SpeedButtonNext, &QToolButton::clicked, this, &TFormLernprogramm::SpeedButtonNextClick);
}

void TFormLernprogramm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TFormLernprogramm::FormShow() {
    setWindowTitle(LoadLangString(3800, DesignCaption));
    TranslateWindow(this);
    HeaderControlThemen->model()->setHeaderData(0, Qt::Horizontal, LoadLangString(3807, "Thema"));
    HeaderControlThemen->model()->setHeaderData(1, Qt::Horizontal, LoadLangString(3808, "Anzahl"));
    ListBoxThemen->clear();
    FTopic.clear();
    FStepCount = 0;
    FBoardStep = UnknownStep;
    // The lessons of the language the texts are shown in; without a language file that is German.
    const QString language = ActiveLanguageFile().isEmpty() ? QString("German") : ActiveLanguageFile();
    const QString fileName = TutorialFileName(language);
    if (fileName.isEmpty() || !QFileInfo(fileName).isFile() || !FFile.Load(fileName)) {
        FFile = TTutorialFile();
        // Nothing of an earlier opening stays: the window is empty.
        MemoText->clear();
        ButtonSetPosition->hide();
        StartTutorialLine(*ChessBrdLearn, QString(SquareCount, ' '));
        ShowInfoMessage(
            LoadLangString(132, "Lernprogramm kann nicht geöffnet werden, da zugehörige Dateien fehlen"),
            this);
    } else {
        FRunning = false;
        SetStepControlsEnabled(true);
        ReadTopics();
    }
    ApplyBoardSettings(*ChessBrdLearn, false, false);
}

void TFormLernprogramm::ReadTopics() {
    const QSignalBlocker quiet(ListBoxThemen);
    for (const QString& topic : FFile.Topics()) {
        auto* item = new QListWidgetItem(topic, ListBoxThemen);
        item->setData(StepCountRole, FFile.StepCount(topic));
    }
    if (ListBoxThemen->count() == 0) return;
    ListBoxThemen->setCurrentRow(0);
    ListBoxThemenClick();
}

void TFormLernprogramm::ListBoxThemenClick() {
    SpeedButtonStopClick();
    const QListWidgetItem* item = ListBoxThemen->currentItem();
    if (!item) return;
    FTopic = item->text();
    FStepCount = FFile.StepCount(FTopic);
    {
        const QSignalBlocker quiet(TrackBarPosition);
        TrackBarPosition->setRange(1, std::max(FStepCount, 1));
        TrackBarPosition->setValue(1);
    }
    const bool stepping = FStepCount > 1;
    for (QWidget* control : std::initializer_list<QWidget*>{
             TrackBarPosition, SpeedButtonStart, SpeedButtonStop, SpeedButtonLast, SpeedButtonNext})
        control->setVisible(stepping);
    FBoardStep = 0;
    ShowStep(1, false);
}

void TFormLernprogramm::ShowStep(int n, bool automatic) {
    TimerPosition.stop();
    const TTutorialStep step = FFile.Step(FTopic, n);
    if (step.BoardHidden)
        MemoText->setGeometry(MemoRect.left(), HiddenBoardMemoTop, MemoRect.width(),
                              FMemoTop + FMemoHeight - HiddenBoardMemoTop);
    else
        MemoText->setGeometry(MemoRect.left(), FMemoTop, MemoRect.width(), FMemoHeight);
    MemoText->raise();
    ButtonSetPosition->setVisible(step.TakeOver);
    if (step.Position)
        StartTutorialLine(*ChessBrdLearn, *step.Position);
    else if (FBoardStep != n - 1)
        SetUpBoardBefore(n);
    FBoardStep = n;
    if (step.Text) {
        MemoText->setPlainText(TutorialDisplayText(*step.Text));
        MemoText->verticalScrollBar()->setValue(0);
    }
    if (step.Move) {
        // The move slides while the window's events run: a click meanwhile may show another step,
        // and then this one has nothing more to do.
        const QString topic = FTopic;
        const int shown = TrackBarPosition->value();
        FBoardStep = UnknownStep; // a step shown meanwhile cannot build on a half-made move
        PlayTutorialMove(*ChessBrdLearn, *step.Move);
        if (topic != FTopic || shown != TrackBarPosition->value() || TimerPosition.isActive()) return;
        FBoardStep = n;
    }
    if (!step.Wait) return;
    TimerPosition.setInterval(*step.Wait);
    if (*step.Wait == 0)
        SpeedButtonStopClick();
    else if (automatic && FRunning) // a Stop while the move slid has ended the show
        TimerPosition.start();
}

// A step without a position builds on the board the step before it left. Reached from anywhere else
// (back, the track bar, the topic's last step again), the board is brought there at once: no piece
// slides and no step's text or wait is shown on the way.
void TFormLernprogramm::SetUpBoardBefore(int n) {
    const bool animate = ChessBrdLearn->AnimateMoves();
    ChessBrdLearn->SetAnimateMoves(false);
    SetUpTutorialStep(*ChessBrdLearn, FFile, FTopic, n - 1);
    ChessBrdLearn->SetAnimateMoves(animate);
}

void TFormLernprogramm::SetStepControlsEnabled(bool enabled) {
    SpeedButtonStart->setEnabled(enabled);
    SpeedButtonStop->setEnabled(!enabled);
    SpeedButtonNext->setEnabled(enabled);
    SpeedButtonLast->setEnabled(enabled);
    TrackBarPosition->setEnabled(enabled);
}

void TFormLernprogramm::SpeedButtonStartClick() {
    FRunning = true;
    ShowStep(TrackBarPosition->value(), true);
    // A first step whose wait is 0 has stopped the show already.
    if (FRunning) SetStepControlsEnabled(false);
}

void TFormLernprogramm::SpeedButtonStopClick() {
    FRunning = false;
    TimerPosition.stop();
    SetStepControlsEnabled(true);
}

void TFormLernprogramm::TimerPositionTimer() {
    if (TrackBarPosition->value() < TrackBarPosition->maximum()) {
        const QSignalBlocker quiet(TrackBarPosition);
        TrackBarPosition->setValue(TrackBarPosition->value() + 1);
    }
    ShowStep(TrackBarPosition->value(), true);
}

void TFormLernprogramm::ShowTrackBarStep() {
    ShowStep(TrackBarPosition->value(), false);
}

void TFormLernprogramm::SpeedButtonNextClick() {
    if (TrackBarPosition->value() < TrackBarPosition->maximum()) {
        TrackBarPosition->setValue(TrackBarPosition->value() + 1);
        return; // the track bar's change has shown the step
    }
    ShowTrackBarStep();
}

void TFormLernprogramm::SpeedButtonLastClick() {
    if (TrackBarPosition->value() > 1) {
        TrackBarPosition->setValue(TrackBarPosition->value() - 1);
        return;
    }
    ShowTrackBarStep();
}

void TFormLernprogramm::ButtonSetPositionClick() {
    SpeedButtonStopClick();
    if (OnTakeOver) OnTakeOver(ChessBrdLearn->Position());
    accept();
}

void TFormLernprogramm::done(int result) {
    SpeedButtonStopClick();
    // The textures are the settings' to give; the next opening loads them again.
    const QImage none;
    ChessBrdLearn->LoadTextures(&none, &none, &none);
    QDialog::done(result);
}
