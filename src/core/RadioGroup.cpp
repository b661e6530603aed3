#include "RadioGroup.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QRadioButton>

TRadioGroup::TRadioGroup(QWidget* parent)
    : QGroupBox(parent), FButtons(new QButtonGroup(this)), FLayout(new QGridLayout(this)) {
    FButtons->setExclusive(true);
    connect(FButtons, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) Q_EMIT ItemIndexChanged(id);
    });
}

int TRadioGroup::ItemIndex() const { return FButtons->checkedId(); }

void TRadioGroup::SetItemIndex(int index) {
    if (QAbstractButton* button = FButtons->button(index)) {
        button->setChecked(true);
        return;
    }
    // No item: clear the check, which an exclusive group does not allow directly.
    if (QAbstractButton* checked = FButtons->checkedButton()) {
        FButtons->setExclusive(false);
        checked->setChecked(false);
        FButtons->setExclusive(true);
        Q_EMIT ItemIndexChanged(-1);
    }
}

void TRadioGroup::SetItems(const QStringList& items) {
    const int index = ItemIndex();
    FItems = items;
    RebuildButtons();
    SetItemIndex(index);
}

void TRadioGroup::SetColumns(int columns) {
    FColumns = std::max(1, columns);
    const int index = ItemIndex();
    RebuildButtons();
    SetItemIndex(index);
}

void TRadioGroup::RebuildButtons() {
    const QList<QAbstractButton*> old = FButtons->buttons();
    for (QAbstractButton* button : old) {
        FButtons->removeButton(button);
        delete button;
    }
    const int rows = (static_cast<int>(FItems.size()) + FColumns - 1) / FColumns;
    for (int i = 0; i < FItems.size(); ++i) {
        auto* button = new QRadioButton(FItems[i], this);
        FButtons->addButton(button, i);
        // Items run down the first column, then the next, as in the classic control.
        FLayout->addWidget(button, rows ? i % rows : 0, rows ? i / rows : 0);
    }
}
