#include "app/mdlmain.h"

#include "app/apppaths.h"
#include "app/inifile.h"
#include "history/modefiles.h"
#include "platform/messagebox.h"
#include "platform/screencentre.h"
#include "platform/singleinstance.h"
#include "ui/main/frminputscore.h"

#include <QFile>

namespace mdlMain {

qint32 PlayMode = ModeA;
SettingsText::PanelOrder PanelOrder{1, 2, 3};
std::unique_ptr<FileSystemObject> FileSystem;

namespace {

// Held from start-up to shutdown: no second program works on the same files meanwhile.
std::unique_ptr<SingleInstance> Instance;

// Through the run's file-system object while there is one.
IniFile settingsFile() {
    return FileSystem ? IniFile(AppPaths::settingsFile(), *FileSystem)
                      : IniFile(AppPaths::settingsFile());
}

} // namespace

QString ReadSetting(const QString &section, const QString &key, const QString &defaultValue) {
    return settingsFile().read(section, key, defaultValue);
}

FileSystemObject::Result WriteSetting(const QString &section, const QString &key,
                                      const QString &value) {
    return settingsFile().write(section, key, value);
}

frmInputScore *Main() {
    Instance = std::make_unique<SingleInstance>();
    // A start that cannot hold the folder ends here, before anything is written: a start that
    // went on all the same could be a second writer of the same games.
    if (!Instance->acquire(AppPaths::directory())) {
        if (!Instance->heldElsewhere() || !Instance->activateHolder())
            MessageBox::showError(nullptr, Instance->refusal());
        Instance.reset();
        return nullptr;
    }
    FileSystem = std::make_unique<FileSystemObject>();
    // No other Dartrail can be rewriting these files now: what a killed rewrite left is waste.
    QByteArrayList rewritten{AppPaths::settingsFileName()};
    FileSystem->removeLeftovers(AppPaths::settingsDirectory(), rewritten);
    FileSystem->removeLeftovers(AppPaths::directory(), rewritten + ModeFiles::all());
    PanelOrder = SettingsText::panelOrderFromText(
        ReadSetting(QStringLiteral("WINDOW"), QStringLiteral("GRID"), QStringLiteral("123")));
    PlayMode = SettingsText::playModeFromText(
        ReadSetting(QStringLiteral("GAME"), QStringLiteral("MODE"), QStringLiteral("A")));

    auto *window = new frmInputScore; // runs the load step
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->applySettingsChecks();
    window->Pub_Sub_ViewChange();
    window->adjustSize();
    centreOnScreen(window);
    window->show();
    centreOnScreen(window); // again now that the frame is known
    window->restoreDraft();
    QObject::connect(Instance.get(), &SingleInstance::activationRequested, window, [window] {
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->raise();
        window->activateWindow();
    });
    return window;
}

void Shutdown() {
    const FileSystemObject::Result grid =
        WriteSetting(QStringLiteral("WINDOW"), QStringLiteral("GRID"),
                     SettingsText::panelOrderToText(PanelOrder));
    const FileSystemObject::Result mode = WriteSetting(
        QStringLiteral("GAME"), QStringLiteral("MODE"), SettingsText::playModeToText(PlayMode));
    // Said once, whichever failed: the program ends all the same.
    if (const FileSystemObject::Result failed = grid.ok() ? mode : grid; !failed.ok())
        MessageBox::showError(
            nullptr, QStringLiteral("%1: %2. The panels shown and the play mode "
                                    "of this run are not kept.")
                         .arg(QFile::decodeName(AppPaths::settingsFile()), failed.description()));
    FileSystem.reset();
    Instance.reset();
}

} // namespace mdlMain
