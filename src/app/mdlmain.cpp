#include "app/mdlmain.h"

#include "history/modefiles.h"
#include "platform/messagebox.h"
#include "platform/screencentre.h"
#include "platform/singleinstance.h"
#include "settings/apppaths.h"
#include "ui/main/frminputscore.h"

#include <QFile>
#include <QPointer>

namespace mdlMain {

std::unique_ptr<FileSystemObject> FileSystem;
std::unique_ptr<Settings> RunSettings;

namespace {

// Held from start-up to shutdown: no second program works on the same files meanwhile.
std::unique_ptr<SingleInstance> Instance;
// Owned here; guarded, as a window that went without the shutdown (a crash as tests play it) is
// gone already.
QPointer<frmInputScore> Window;

} // namespace

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
    RunSettings = std::make_unique<Settings>(*FileSystem);
    RunSettings->PanelOrder = SettingsText::panelOrderFromText(RunSettings->ReadSetting(
        QStringLiteral("WINDOW"), QStringLiteral("GRID"), QStringLiteral("123")));
    RunSettings->PlayMode = SettingsText::playModeFromText(RunSettings->ReadSetting(
        QStringLiteral("GAME"), QStringLiteral("MODE"), QStringLiteral("A")));

    frmInputScore *window = Window = new frmInputScore(*FileSystem, *RunSettings); // loads
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
    // Its draft writer finishes with it, while the file layer is still there.
    delete Window;
    const FileSystemObject::Result grid =
        RunSettings->WriteSetting(QStringLiteral("WINDOW"), QStringLiteral("GRID"),
                                  SettingsText::panelOrderToText(RunSettings->PanelOrder));
    const FileSystemObject::Result mode =
        RunSettings->WriteSetting(QStringLiteral("GAME"), QStringLiteral("MODE"),
                                  SettingsText::playModeToText(RunSettings->PlayMode));
    // Said once, whichever failed: the program ends all the same.
    if (const FileSystemObject::Result failed = grid.ok() ? mode : grid; !failed.ok())
        MessageBox::showError(
            nullptr, QStringLiteral("%1: %2. The panels shown and the play mode "
                                    "of this run are not kept.")
                         .arg(QFile::decodeName(AppPaths::settingsFile()), failed.description()));
    RunSettings.reset();
    FileSystem.reset();
    Instance.reset();
}

} // namespace mdlMain
