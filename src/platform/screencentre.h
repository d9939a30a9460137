#pragma once

class QWidget;

// Centres a shown window on its screen's free area by its frame, title bar included, so that it
// does not sit half a title bar low.
void centreOnScreen(QWidget *window);
