#include "app/commandline.h"
#include "app/mdlmain.h"
#include "platform/messagebox.h"
#include "settings/apppaths.h"
#include "ui/appicon.h"
#include "ui/fonts.h"
#include "version.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (const std::optional<QString> reply = CommandLine::reply(arguments)) {
        std::fputs(reply->toLocal8Bit().constData(), stdout);
        return 0;
    }
    // The window class, whatever the executable is called: the desktop entry's StartupWMClass.
    QApplication::setApplicationName(QLatin1String(Version::Title));
    // Wayland matches windows to their desktop entry, and so to its icon, by this name.
    QApplication::setDesktopFileName(QStringLiteral("org.dartrail.Dartrail"));
    QApplication app(argc, argv);
    QApplication::setWindowIcon(AppIcon::icon()); // the dialogs' too
    Fonts::installSubstitutes();
    // Told now rather than after a whole card has been typed.
    if (const QString &failure = AppPaths::dataFolder().failure(); !failure.isEmpty())
        MessageBox::showError(nullptr, failure);
    if (!mdlMain::Main())
        return 0;
    const int status = app.exec();
    mdlMain::Shutdown();
    return status;
}
