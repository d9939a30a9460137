#pragma once

#include "app/settingstext.h"
#include "platform/filesystemobject.h"

#include <QString>

#include <memory>

class frmInputScore;

// The program's shared state and its start-up and shutdown.
namespace mdlMain {

inline constexpr qint32 ModeA = 1;
inline constexpr qint32 ModeB = 2;

// 1 = mode A, 2 = mode B; never another value.
extern qint32 PlayMode;
// Places from the top of the this-time card, the recent grid and the averages grid; 0 = hidden.
extern SettingsText::PanelOrder PanelOrder;
// The one file-system object of the run; every history and settings file access goes through it.
extern std::unique_ptr<FileSystemObject> FileSystem;

// The only access to the settings file beside the executable. A failed write leaves the file as
// it was.
QString ReadSetting(const QString &section, const QString &key, const QString &defaultValue);
FileSystemObject::Result WriteSetting(const QString &section, const QString &key,
                                      const QString &value);

// Reads the settings, creates and shows the main window. The window deletes itself on close.
// Null when another Dartrail holds the folder (that one is brought to the front instead), or when
// the folder cannot be locked, which the player is told.
frmInputScore *Main();
// Writes the panel order and the play mode back, telling the player when they cannot be kept, and
// releases the file-system object.
void Shutdown();

} // namespace mdlMain
