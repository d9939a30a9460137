#pragma once

#include <QMessageBox>
#include <QString>

#include <functional>

class QWidget;

// Every message box of the program goes through here, so tests can answer them.
class MessageBox {
public:
    // OK and Cancel with the question icon; OK is the default button. True when OK was chosen.
    static bool askOkCancel(QWidget *parent, const QString &text, const QString &title);
    // The system's description of a failure, titled "ERROR", with the error icon and OK.
    static void showError(QWidget *parent, const QString &text);

    // While set, no box is shown: the responder sees each box and returns the button chosen.
    using Responder = std::function<QMessageBox::StandardButton(
        QMessageBox::Icon icon, const QString &text, const QString &title)>;
    static void setResponder(Responder responder);

private:
    static QMessageBox::StandardButton show(QWidget *parent, QMessageBox::Icon icon,
                                            const QString &text, const QString &title,
                                            QMessageBox::StandardButtons buttons);
};
