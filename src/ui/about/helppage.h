#pragma once

class QWidget;

inline constexpr char HelpPageFile[] = "ReadMe_and_Help.html";

// Opens the help page in the desktop's viewer: the page beside the executable, else the system
// install's shared one, else the one in the working directory, so HELP works wherever the program
// was started from. A desktop without a viewer gets the page in the program's own help window; a
// missing page is reported in a box over parent. Never waits for the viewer.
void openHelpPage(QWidget *parent);
