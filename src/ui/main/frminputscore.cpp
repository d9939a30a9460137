#include "ui/main/frminputscore.h"

#include "app/mdlmain.h"

#include <QCloseEvent>

frmInputScore::frmInputScore(QWidget *parent)
    : QMainWindow(parent) {
    setWindowTitle(QStringLiteral("Dartrail"));
}

void frmInputScore::applySettingsChecks() {
}

void frmInputScore::Pub_Sub_ViewChange() {
}

void frmInputScore::closeEvent(QCloseEvent *event) {
    mdlMain::Shutdown();
    event->accept();
}
