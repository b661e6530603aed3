#pragma once
// The player statistics window: the games won by checkmate per player name, as a bar chart with one
// bar of its own colour per name. A name can be renamed (its wins go with it, and join those of a
// name that already exists); "Zurücksetzen" erases all counts at once.

#include <QDialog>

class QBarCategoryAxis;
class QChart;
class QChartView;
class QComboBox;
class QPushButton;
class QStackedBarSeries;
class QValueAxis;

class TFormPlayerStatistic : public QDialog {
    Q_OBJECT
public:
    static constexpr QSize DesignSize{420, 354};

    explicit TFormPlayerStatistic(QWidget* parent = nullptr);

    QChartView* ChartWin;
    QChart* Chart;
    QStackedBarSeries* Series1;
    QBarCategoryAxis* AxisNames;
    QValueAxis* AxisWins;
    QComboBox* ComboBoxName;
    QPushButton* ButtonRename;
    QPushButton* ButtonOk;
    QPushButton* ButtonErase;

    void ButtonEraseClick();
    void ButtonRenameClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateChart();
    void CreateButtons();
    void FormShow();
    void ShowWins();
    void ClearChart();
};

extern TFormPlayerStatistic* FormPlayerStatistic;
