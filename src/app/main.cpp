#include "app/appicon.h"
#include "app/fonts.h"
#include "app/mdlmain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setWindowIcon(AppIcon::icon()); // the dialogs' too
    Fonts::installSubstitutes();
    mdlMain::Main();
    return app.exec();
}
