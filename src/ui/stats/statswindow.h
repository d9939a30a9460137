#pragma once

#include <QString>

class QDialog;
class QLabel;
class QPushButton;
class QWidget;

// What the statistics windows share: their frame, and the line that counts the games they
// could not place in time.
namespace StatsWindow {

// A fixed-border modal frame with the program's caption and font.
void setUp(QDialog *window, const QString &caption);
// A label of the window's font, named.
QLabel *label(const QString &name, const QString &text, QWidget *parent);
// The CLOSE button, which closes the window as Esc does.
QPushButton *closeButton(QDialog *window);
// "2 LINES WITHOUT A DATE IGNORED", or the empty text.
QString undatedText(int undated);

} // namespace StatsWindow
