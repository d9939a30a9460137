#pragma once

#include <QMainWindow>

// The main window: the this-time card, the recent and averages grids, the keypads and the menus.
class frmInputScore : public QMainWindow {
    Q_OBJECT
public:
    explicit frmInputScore(QWidget *parent = nullptr);

    void applySettingsChecks();
    void Pub_Sub_ViewChange();

protected:
    void closeEvent(QCloseEvent *event) override;
};
