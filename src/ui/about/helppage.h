#pragma once

class QWidget;

inline constexpr char HelpPageFile[] = "ReadMe_and_Help.html";

// Opens the help page in the desktop's viewer: the page beside the executable, else the system
// install's shared one, else the one in the working directory, so HELP works wherever the program
// was started from. A missing page or a desktop without a viewer is reported in a box over parent.
// Never waits for the viewer.
void openHelpPage(QWidget *parent);
