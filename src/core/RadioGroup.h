#pragma once
// A captioned group of radio buttons built from a list of item texts, with the index of the checked
// item: the control the translation rules fill from a "caption|item|item" text.

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QGridLayout;

class TRadioGroup : public QGroupBox {
    Q_OBJECT
public:
    explicit TRadioGroup(QWidget* parent = nullptr);

    QStringList Items() const { return FItems; }
    // Replaces the buttons; the checked index stays when the new list still has it.
    void SetItems(const QStringList& items);
    int ItemIndex() const; // -1 when none is checked
    void SetItemIndex(int index);
    int Columns() const { return FColumns; }
    void SetColumns(int columns);

Q_SIGNALS:
    void ItemIndexChanged(int index);

private:
    void RebuildButtons();

    QStringList FItems;
    int FColumns = 1;
    QButtonGroup* FButtons;
    QGridLayout* FLayout;
};
