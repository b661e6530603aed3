#pragma once
// The logbook window: a side window that stays on top and shows the engine logbook of the current
// game, with the game variant and the last search in its status bar. Its pop-up menu on the status
// bar switches the best line to its first move; the one on the text saves or empties the log.

#include <QWidget>
#include <atomic>

class QLabel;
class QMenu;
class QAction;
class QPlainTextEdit;
class QStatusBar;
class TLogbook;

class TFormLogbook : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize DesignSize{482, 198};

    // `showOnlyFirstMove` is the engine's switch that the status bar's pop-up menu turns.
    TFormLogbook(TLogbook& logbook, std::atomic<bool>& showOnlyFirstMove, QWidget* parent = nullptr);

    QPlainTextEdit* MemoLog;
    QStatusBar* StatusBar;
    QLabel* PanelGameMode;
    QLabel* PanelThinking;
    QMenu* PopupMenuStatusBar;
    QAction* MenuItemShowOnlyFirstMove;
    QMenu* PopupMenuLog;
    QAction* MenuItemSaveLog;
    QAction* MenuItemClearLog;

    void MenuItemShowOnlyFirstMoveClick();
    void MenuItemSaveLogClick();

Q_SIGNALS:
    // The user closed the window with its own close button (or the main window closed it).
    void Closed();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateStatusBar();
    void CreateLogMenu();
    void FormShow();
    void ShowStatus();

    TLogbook& FLogbook;
    std::atomic<bool>& FShowOnlyFirstMove;
};

extern TFormLogbook* FormLogbook;

class TFormMain;
// The logbook window of the main window, for its logbook and its engine's switch; owned by `owner`.
TFormLogbook* NewFormLogbook(TFormMain& owner);
