#include "app/mdlmain.h"

#include "app/apppaths.h"
#include "app/inifile.h"
#include "history/historystore.h"
#include "platform/messagebox.h"
#include "platform/screencentre.h"
#include "platform/singleinstance.h"
#include "ui/main/frminputscore.h"

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

void WriteSetting(const QString &section, const QString &key, const QString &value) {
    // A settings file that cannot be written is survived silently: this run's changes are lost.
    settingsFile().write(section, key, value);
}

frmInputScore *Main() {
    Instance = std::make_unique<SingleInstance>();
    if (!Instance->acquire(AppPaths::directory())) {
        if (!Instance->activateHolder())
            MessageBox::showError(nullptr, QStringLiteral("Dartrail is already running with the "
                                                          "games of %1.")
                                               .arg(QString::fromLocal8Bit(AppPaths::directory())));
        Instance.reset();
        return nullptr;
    }
    FileSystem = std::make_unique<FileSystemObject>();
    // No other Dartrail can be rewriting these files now: what a killed rewrite left is waste.
    QByteArrayList rewritten{AppPaths::settingsFileName()};
    FileSystem->removeLeftovers(AppPaths::settingsDirectory(), rewritten);
    for (const qint32 mode : {ModeA, ModeB})
        for (const char *kind : {"", "draft", "undo"})
            rewritten << HistoryStore::fileName(mode, kind);
    FileSystem->removeLeftovers(AppPaths::directory(), rewritten);
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
    WriteSetting(QStringLiteral("WINDOW"), QStringLiteral("GRID"),
                 SettingsText::panelOrderToText(PanelOrder));
    WriteSetting(QStringLiteral("GAME"), QStringLiteral("MODE"),
                 SettingsText::playModeToText(PlayMode));
    FileSystem.reset();
    Instance.reset();
}

} // namespace mdlMain
