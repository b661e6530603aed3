#include "UnitFormPgnGames.h"

#include "UnitLanguages.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int DialogWidth = 640;
constexpr int DialogHeight = 420;

struct TColumn {
    const char* Tag;
    int TextNumber;
    const char* Caption;
};
constexpr TColumn Columns[] = {{"White", 5658, "Weiß"},
                               {"Black", 5659, "Schwarz"},
                               {"Result", 5660, "Ergebnis"},
                               {"Date", 5661, "Datum"},
                               {"Event", 5662, "Ereignis"}};

} // namespace

TFormPgnGames::TFormPgnGames(QWidget* parent) : QDialog(parent) {
    setObjectName("FormPgnGames");
    setWindowTitle(LoadLangString(5657, "Partie wählen"));
    resize(DialogWidth, DialogHeight);
    auto* layout = new QVBoxLayout(this);
    TableGames = new QTableWidget(this);
    TableGames->setObjectName("TableGames");
    TableGames->setColumnCount(static_cast<int>(std::size(Columns)));
    QStringList captions;
    for (const TColumn& column : Columns)
        captions << LoadLangString(column.TextNumber, column.Caption);
    TableGames->setHorizontalHeaderLabels(captions);
    TableGames->setSelectionBehavior(QAbstractItemView::SelectRows);
    TableGames->setSelectionMode(QAbstractItemView::SingleSelection);
    TableGames->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TableGames->horizontalHeader()->setStretchLastSection(true);
    TableGames->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    layout->addWidget(TableGames);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(TableGames, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);
}

void TFormPgnGames::ShowGames(const std::vector<TPgnGame>& games) {
    // Rows are filled with the table's updates held back: a file of thousands of games shows at once.
    TableGames->setUpdatesEnabled(false);
    TableGames->clearContents();
    TableGames->setRowCount(static_cast<int>(games.size()));
    for (int row = 0; row < TableGames->rowCount(); ++row)
        for (int column = 0; column < TableGames->columnCount(); ++column)
            TableGames->setItem(row, column,
                                new QTableWidgetItem(QString::fromStdString(
                                    games[static_cast<size_t>(row)].Tag(Columns[column].Tag))));
    TableGames->setUpdatesEnabled(true);
    if (!games.empty()) TableGames->selectRow(0);
}

int TFormPgnGames::ChosenGame() const {
    return TableGames->selectionModel()->hasSelection() ? TableGames->currentRow() : -1;
}

int TFormPgnGames::Choose(const std::vector<TPgnGame>& games) {
    ShowGames(games);
    return exec() == QDialog::Accepted ? ChosenGame() : -1;
}
