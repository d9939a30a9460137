#include "app/mdlmain.h"

#include "app/apppaths.h"
#include "app/inifile.h"
#include "platform/screencentre.h"
#include "ui/main/frminputscore.h"

namespace mdlMain {

qint32 PlayMode = ModeA;
SettingsText::PanelOrder PanelOrder{1, 2, 3};
std::unique_ptr<FileSystemObject> FileSystem;

namespace {

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
    FileSystem = std::make_unique<FileSystemObject>();
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
    return window;
}

void Shutdown() {
    WriteSetting(QStringLiteral("WINDOW"), QStringLiteral("GRID"),
                 SettingsText::panelOrderToText(PanelOrder));
    WriteSetting(QStringLiteral("GAME"), QStringLiteral("MODE"),
                 SettingsText::playModeToText(PlayMode));
    FileSystem.reset();
}

} // namespace mdlMain
