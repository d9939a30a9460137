#pragma once

class QWidget;

// Opens "ReadMe_and_Help.html" from the current working directory in the desktop's viewer.
// Nothing happens, and nothing is shown, when no such file lies there. Never waits for the viewer.
// The desktop's opener takes no owner window, so parent only names the window that asked.
void openHelpPage(QWidget *parent);
