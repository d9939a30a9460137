#pragma once

#include <QObject>

class QAction;
class QMenuBar;

// The main window's menu tree, built in one place; the window connects the items.
class MainMenus : public QObject {
    Q_OBJECT
public:
    explicit MainMenus(QMenuBar *menuBar);

    QAction *mnuFile_Save = nullptr;
    QAction *mnuFile_Mode_A = nullptr;
    QAction *mnuFile_Mode_B = nullptr;
    QAction *mnuFile_Exit = nullptr;
    QAction *mnuFile_Drill = nullptr;
    QAction *mnuEdit_Clear_ThisTime = nullptr;
    QAction *mnuEdit_Clear_RecentData = nullptr;
    QAction *mnuEdit_UndoDelete = nullptr;
    QAction *mnuEdit_DeleteDrill = nullptr;
    QAction *mnuView_Graph = nullptr;
    QAction *mnuView_ThisTime = nullptr;
    QAction *mnuView_Recent = nullptr;
    QAction *mnuView_AVG = nullptr;
    QAction *mnuView_Targets = nullptr;
    QAction *mnuView_Trends = nullptr;
    QAction *mnuHelp_Help = nullptr;
    QAction *mnuHelp_About = nullptr;
};
