#pragma once

#include "entry/drillcard.h"
#include "history/carddraft.h"
#include "history/drilldraft.h"
#include "history/drillhistory.h"
#include "history/historystore.h"
#include "history/storedgames.h"
#include "platform/backgroundwriter.h"
#include "settings/settings.h"

#include <QDateTime>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class ButtonsFrame;
class GridModel;
class GridView;
class MainMenus;
class QKeyEvent;
class QLineEdit;
class RecentModel;
class ThisTimeFrame;

// The main window: the this-time card, the recent and averages grids, the keypads and the
// menus. It wires the controls to the card rules, the history store and the other windows.
class frmInputScore : public QMainWindow {
    Q_OBJECT
public:
    frmInputScore(FileSystemObject &fileSystem, Settings &settings, QWidget *parent = nullptr);
    ~frmInputScore() override;

    // Start-up: the check marks of the mode and view items follow the settings.
    void applySettingsChecks();
    // Shows the keypad of the mode, stacks the visible panels and sizes the window.
    void Pub_Sub_ViewChange();

    void SetCurrentEntry(int value);
    void ClearThisTime();
    // Fills the card from the draft the mode's last card left, if any, as if typed again.
    void restoreDraft();
    int currentTarget() const { return m_currentTarget; }
    // The clock the saves are stamped by: the system's, unless a test steps its own.
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectControls();
    void setTabOrder();

    // The refresh after start, save, delete and mode switch.
    void loadStep();
    // What the load step does once the games are there.
    void showGames();
    void updateTotals();

    // The focus handlers of the controls, run when the focus moves from one to another.
    void focusChanged(QWidget *now);
    void controlGotFocus(QWidget *control);
    void controlLostFocus(QWidget *control);

    // The focus drill: started on the targets chosen for it, ended by the menu item, THIS TIME
    // SCORE, a mode switch or its save.
    void drillCommand();
    void startDrill(const std::vector<int> &fields);
    void endDrill();
    bool restoreDrill();
    void keepDrill(const QString &savingAs = {});
    void discardDrillDraft();
    bool drillKeyDown(int index, const QKeyEvent &event);
    void deleteLastDrill();
    void loadDrills();
    // FOCUS DRILL while the card is empty, END FOCUS DRILL while one runs; DELETE LAST DRILL
    // while the mode's drill file holds one.
    void updateDrillItems();
    // The field the focus moves on to from a field, in a drill the next chosen one; after the
    // last, SAVE DATA.
    QWidget *fieldAfter(int index) const;

    void txtChange(int index);
    void txtGotFocus(int index);
    void txtLostFocus(int index);
    bool txtKeyDown(int index, const QKeyEvent &event);

    void cmdClick(int index);
    void cmdGotFocus(int index);
    void cmdNumClick(int digit);
    void typeIntoCurrentField(int key, const QString &text);

    // SAVE DATA: the card into the history, a running drill into the drill file.
    void saveCommand();
    // SAVE and SAVE DATA: usable while the card is shown and no save waits for its second.
    void updateSaveEnabled();
    // Whether the card was stored; a failure is reported here.
    bool SaveRecentData(const QDateTime &now);
    void DeleteRecentData();
    void undoDelete();
    // Empties the 21 fields, keeping the draft as it is, and puts the focus on the first.
    void emptyCard();
    // Keeps the card as it stands, or with the stamp of the save about to store it.
    void keepDraft(const QString &savingAs = {});
    void discardDraft(Mode playMode);
    // Shows a history failure with the file it concerns; true when there was one.
    bool reportFailure(const QString &error);
    bool reportFailure(const QString &error, const QByteArray &file);
    // Refuses the next save until the clock has left the second of the stamp, looked at when
    // that second should be over.
    void waitForNextSecond(const QDateTime &stamped);
    void showGraph();

    void switchMode(Mode playMode);
    void togglePanel(int panel, bool checked);
    void setGraphEnabled(bool enabled);
    void moveFocus(QWidget *target);

    ThisTimeFrame *m_card = nullptr;
    GridView *m_grdRecent = nullptr;
    GridView *m_grdAVG = nullptr;
    RecentModel *m_recent = nullptr;
    GridModel *m_averages = nullptr;
    ButtonsFrame *m_buttons = nullptr;
    MainMenus *m_menus = nullptr;
    Settings &m_config; // the play mode and panel order change here; shutdown keeps them
    HistoryStore m_history;
    StoredGames m_games; // of the mode shown
    CardDraft m_draft;
    // Written off the window's thread, so that a slow disk never holds up the typing.
    BackgroundWriter m_draftWriter;
    DrillCard m_drill;
    DrillHistory m_drills;
    DrillDraft m_drillDraft;
    bool m_draftHeld = false; // while the program itself fills or empties the card
    QByteArray m_draftLine;   // the draft of the mode as last kept; a focus move alone keeps none
    int m_currentTarget = 0;
    bool m_saveWaiting = false;
    std::function<QDateTime()> m_clock = [] { return QDateTime::currentDateTime(); };
    bool m_focusByMouse = false;        // how the field that got the focus last got it
    QPointer<QWidget> m_focusedControl; // the control of this window that has the focus last
};
