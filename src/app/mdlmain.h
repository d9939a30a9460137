#pragma once

#include "settings/settings.h"

#include <memory>

class frmInputScore;

// The start-up that creates the run's file layer, settings and main window, and the shutdown
// that ends them once the event loop is over.
namespace mdlMain {

// The run's, from Main to Shutdown: every history and settings file access goes through them.
extern std::unique_ptr<FileSystemObject> FileSystem;
extern std::unique_ptr<Settings> RunSettings;

// Reads the settings, creates and shows the main window, which stays the start-up's until
// Shutdown. Null when another Dartrail holds the folder (that one is brought to the front
// instead), or when the folder cannot be locked, which the player is told.
frmInputScore *Main();
// Destroys the main window, writes the panel order and the play mode back, telling the player
// when they cannot be kept, and releases the file-system object.
void Shutdown();

} // namespace mdlMain
