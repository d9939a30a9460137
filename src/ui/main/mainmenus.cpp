#include "ui/main/mainmenus.h"

#include <QMenu>
#include <QMenuBar>

namespace {

QMenu *addMenu(QWidget *parent, const QString &name, const QString &caption) {
    QMenu *menu = nullptr;
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        menu = bar->addMenu(caption);
    else
        menu = qobject_cast<QMenu *>(parent)->addMenu(caption);
    menu->setObjectName(name);
    menu->menuAction()->setObjectName(name);
    return menu;
}

QAction *addItem(QMenu *menu, const QString &name, const QString &caption, bool checkable = false) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(name);
    action->setCheckable(checkable);
    return action;
}

} // namespace

MainMenus::MainMenus(QMenuBar *menuBar)
    : QObject(menuBar) {
    QMenu *file = addMenu(menuBar, QStringLiteral("mnuFile"), QStringLiteral("FILE(&F)"));
    mnuFile_Save = addItem(file, QStringLiteral("mnuFile_Save"), QStringLiteral("SAVE"));
    mnuFile_Save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFile_Separator01"));
    QMenu *mode = addMenu(file, QStringLiteral("mnuFile_Mode"), QStringLiteral("PLAY MODE"));
    mnuFile_Mode_A =
        addItem(mode, QStringLiteral("mnuFile_Mode_A"), QStringLiteral("A MODE"), true);
    mnuFile_Mode_B =
        addItem(mode, QStringLiteral("mnuFile_Mode_B"), QStringLiteral("B MODE"), true);
    mnuFile_Mode_B->setChecked(true);
    file->addSeparator()->setObjectName(QStringLiteral("mnuFile_Separator02"));
    mnuFile_Exit = addItem(file, QStringLiteral("mnuFile_Exit"), QStringLiteral("EXIT(&C)"));
    file->addSeparator()->setObjectName(QStringLiteral("mnuFile_Separator03"));
    mnuFile_Drill = addItem(file, QStringLiteral("mnuFile_Drill"), QStringLiteral("FOCUS DRILL"));
    mnuFile_Drill->setShortcut(QKeySequence(Qt::Key_F7));

    QMenu *edit = addMenu(menuBar, QStringLiteral("mnuEdit"), QStringLiteral("EDIT(&E)"));
    QMenu *clear = addMenu(edit, QStringLiteral("mnuEdit_Clear"), QStringLiteral("CLEAR"));
    mnuEdit_Clear_ThisTime =
        addItem(clear, QStringLiteral("mnuEdit_Clear_ThisTime"), QStringLiteral("THIS TIME SCORE"));
    clear->addSeparator()->setObjectName(QStringLiteral("mnuEdit_Separator01"));
    mnuEdit_Clear_RecentData = addItem(clear, QStringLiteral("mnuEdit_Clear_RecentData"),
                                       QStringLiteral("SELECTED RECENT DATA"));
    mnuEdit_Clear_RecentData->setEnabled(false);
    mnuEdit_UndoDelete =
        addItem(edit, QStringLiteral("mnuEdit_UndoDelete"), QStringLiteral("UNDO DELETE"));
    mnuEdit_UndoDelete->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    mnuEdit_UndoDelete->setEnabled(false);
    mnuEdit_DeleteDrill =
        addItem(edit, QStringLiteral("mnuEdit_DeleteDrill"), QStringLiteral("DELETE LAST DRILL"));
    mnuEdit_DeleteDrill->setEnabled(false);

    QMenu *view = addMenu(menuBar, QStringLiteral("mnuView"), QStringLiteral("VIEW(&V)"));
    mnuView_Graph = addItem(view, QStringLiteral("mnuView_Graph"), QStringLiteral("GRAPH"));
    view->addSeparator()->setObjectName(QStringLiteral("mnuView_Separator01"));
    mnuView_ThisTime =
        addItem(view, QStringLiteral("mnuView_ThisTime"), QStringLiteral("THIS TIME"), true);
    mnuView_Recent =
        addItem(view, QStringLiteral("mnuView_Recent"), QStringLiteral("RECENT"), true);
    mnuView_AVG = addItem(view, QStringLiteral("mnuView_AVG"), QStringLiteral("AVG/HIT"), true);
    for (QAction *item : {mnuView_ThisTime, mnuView_Recent, mnuView_AVG})
        item->setChecked(true);
    view->addSeparator()->setObjectName(QStringLiteral("mnuView_Separator02"));
    mnuView_Targets =
        addItem(view, QStringLiteral("mnuView_Targets"), QStringLiteral("TARGET REPORT"));
    mnuView_Targets->setShortcut(QKeySequence(Qt::Key_F5));
    mnuView_Trends = addItem(view, QStringLiteral("mnuView_Trends"), QStringLiteral("TRENDS"));
    mnuView_Trends->setShortcut(QKeySequence(Qt::Key_F6));

    QMenu *help = addMenu(menuBar, QStringLiteral("mnuHelp"), QStringLiteral("HELP(&H)"));
    mnuHelp_Help = addItem(help, QStringLiteral("mnuHelp_Help"), QStringLiteral("HELP"));
    mnuHelp_About = addItem(help, QStringLiteral("mnuHelp_About"), QStringLiteral("ABOUT"));
}
