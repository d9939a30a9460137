#include "app/fonts.h"
#include "app/mdlmain.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    Fonts::installSubstitutes();
    if (!mdlMain::Main())
        return 0;
    return app.exec();
}
