#include "UnitPlayerStatistics.h"

#include "SettingsKey.h"
#include "UnitDialogFunctions.h"
#include "UnitLanguages.h"
#include "UnitPlayerWins.h"
#include "UnitSettings.h"

#include <QBarCategoryAxis>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedBarSeries>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>

TFormPlayerStatistic* FormPlayerStatistic = nullptr;

namespace {

// More ticks than this crowd the axis; the steps then grow to whole multiples.
constexpr int MostTickSteps = 10;

} // namespace

TFormPlayerStatistic::TFormPlayerStatistic(QWidget* parent) : QDialog(parent) {
    setObjectName("FormPlayerStatistic");
    setWindowTitle("Spielerstatistik");
    setSizeGripEnabled(true);
    resize(DesignSize);
    CreateChart();
    CreateButtons();
}

void TFormPlayerStatistic::CreateChart() {
    Chart = new QChart;
    Chart->setTitle("gewonnene Spiele");
    Chart->setBackgroundBrush(Qt::white);
    Chart->legend()->hide();
    Series1 = new QStackedBarSeries;
    Series1->setName("SeriesWin");
    Series1->setLabelsVisible(true);
    // A stacked series cannot write its marks above the bars; they stand at the top inside them.
    Series1->setLabelsPosition(QAbstractBarSeries::LabelsInsideEnd);
    Series1->setLabelsFormat("@value");
    Chart->addSeries(Series1);
    AxisNames = new QBarCategoryAxis;
    AxisWins = new QValueAxis;
    AxisWins->setLabelFormat("%d");
    Chart->addAxis(AxisNames, Qt::AlignBottom);
    Chart->addAxis(AxisWins, Qt::AlignLeft);
    Series1->attachAxis(AxisNames);
    Series1->attachAxis(AxisWins);
    ChartWin = new QChartView(Chart, this);
    ChartWin->setObjectName("ChartWin");
    ChartWin->setRenderHint(QPainter::Antialiasing);
}

void TFormPlayerStatistic::CreateButtons() {
    ComboBoxName = new QComboBox(this);
    ComboBoxName->setObjectName("ComboBoxName");
    ButtonRename = new QPushButton("&Umbenennen...", this);
    ButtonRename->setObjectName("ButtonRename");
    ButtonRename->setProperty("Tag", 5410);
    ButtonErase = new QPushButton("&Zurücksetzen", this);
    ButtonErase->setObjectName("ButtonErase");
    ButtonErase->setProperty("Tag", 22);
    ButtonOk = new QPushButton("&Ok", this);
    ButtonOk->setObjectName("ButtonOk");
    ButtonOk->setProperty("Tag", 10);
    ButtonOk->setDefault(true);
    connect(ButtonRename, &QPushButton::clicked, this, &TFormPlayerStatistic::ButtonRenameClick);
    connect(ButtonErase, &QPushButton::clicked, this, &TFormPlayerStatistic::ButtonEraseClick);
    connect(ButtonOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ComboBoxName, 1);
    buttons->addWidget(ButtonRename);
    buttons->addWidget(ButtonErase);
    buttons->addStretch();
    buttons->addWidget(ButtonOk);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ChartWin, 1);
    layout->addLayout(buttons);
}

void TFormPlayerStatistic::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

void TFormPlayerStatistic::FormShow() {
    setWindowTitle(LoadLangString(4200, "Spielerstatistik"));
    TranslateWindow(this);
    Chart->setTitle(LoadLangString(4201, "gewonnene Spiele"));
    ShowWins();
}

void TFormPlayerStatistic::ClearChart() {
    Series1->clear();
    AxisNames->clear();
    ComboBoxName->clear();
}

// One bar set per name, holding its count at its own place and nothing elsewhere: so each bar gets
// its own colour from the chart, and stacked they stand as one bar per name.
void TFormPlayerStatistic::ShowWins() {
    ClearChart();
    const QList<TPlayerWins> wins = ReadWins();
    QStringList names;
    int most = 0;
    for (qsizetype i = 0; i < wins.size(); ++i) {
        auto* bar = new QBarSet(wins[i].Name);
        for (qsizetype place = 0; place < wins.size(); ++place)
            *bar << (place == i ? wins[i].Wins : 0);
        Series1->append(bar);
        names << wins[i].Name;
        most = std::max(most, wins[i].Wins);
    }
    AxisNames->append(names);
    ComboBoxName->addItems(names);
    const int step = std::max(1, (most + MostTickSteps - 1) / MostTickSteps);
    const int steps = std::max(1, (most + step - 1) / step);
    AxisWins->setRange(0, steps * step);
    AxisWins->setTickCount(steps + 1);
    ButtonRename->setEnabled(!wins.isEmpty());
}

void TFormPlayerStatistic::ButtonEraseClick() {
    if (!EraseWins()) ReportSettingsNotSaved(this);
    ShowWins();
}

// A typed name must come back as the same key of the settings file.
void TFormPlayerStatistic::ButtonRenameClick() {
    const QString oldName = ComboBoxName->currentText();
    if (oldName.isEmpty()) return;
    const std::optional<QString> typed =
        InputBox(LoadLangString(5411, "Spieler umbenennen"),
                 LoadLangString(5412, "Neuer Name für %s:").replace("%s", oldName), oldName, this);
    if (!typed || *typed == oldName) return;
    const QString newName = typed->trimmed();
    if (!IsValidSettingsKey(newName)) {
        ShowCenteredMessage(
            LoadLangString(5413, "Dieser Name kann nicht gespeichert werden. Ein Name darf weder ein "
                                 "Gleichheitszeichen noch einen Zeilenumbruch enthalten, nicht mit "
                                 "einer eckigen Klammer oder einem Semikolon beginnen und nicht leer "
                                 "sein."),
            TMsgDlgType::mtWarning, mbOK, this);
        return;
    }
    if (!RenamePlayer(oldName, newName)) ReportSettingsNotSaved(this);
    ShowWins();
    ComboBoxName->setCurrentText(newName);
}
