#pragma once
// The stored-positions dialog of the set-position editor: loads a named position onto the editor's
// board, stores the editor's position under a name, deletes entries and exchanges them with
// position files.

#include <QDialog>

class QListWidget;
class QPushButton;
class TChessBrd;
struct TPositionExchange;

class TFormLoadSavePosition : public QDialog {
    Q_OBJECT
public:
    // Loading and storing work on `editorBoard`.
    explicit TFormLoadSavePosition(TChessBrd* editorBoard, QWidget* parent = nullptr);

    QListWidget* ListBoxPosition;
    QPushButton *ButtonLoad, *ButtonSave, *ButtonDelete, *ButtonImportieren, *ButtonExportieren,
        *ButtonCancel;

    void ButtonLoadClick();
    void ButtonSaveClick();
    void ButtonDeleteClick();
    void ButtonImportierenClick();
    void ButtonExportierenClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    QPushButton* NewButton(const QString& name, const QString& text, int tag);
    void FillList();
    QString AskName();
    bool MayStoreUnder(const QString& name);
    void ReportFileError(int textNumber, const QString& text, const QString& fileName);
    void ReportDuplicates(const TPositionExchange& result, int textNumber, const QString& text);

    TChessBrd* FEditorBoard;
};

extern TFormLoadSavePosition* FormLoadSavePosition;
