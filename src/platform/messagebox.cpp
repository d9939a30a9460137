#include "platform/messagebox.h"

namespace {
MessageBox::Responder responder;
}

bool MessageBox::askOkCancel(QWidget *parent, const QString &text, const QString &title) {
    return show(parent, QMessageBox::Question, text, title,
                QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}

void MessageBox::showError(QWidget *parent, const QString &text) {
    show(parent, QMessageBox::Critical, text, QStringLiteral("ERROR"), QMessageBox::Ok);
}

void MessageBox::setResponder(Responder newResponder) {
    responder = std::move(newResponder);
}

QMessageBox::StandardButton MessageBox::show(QWidget *parent, QMessageBox::Icon icon,
                                             const QString &text, const QString &title,
                                             QMessageBox::StandardButtons buttons) {
    if (responder)
        return responder(icon, text, title);
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(QMessageBox::Ok);
    return QMessageBox::StandardButton(box.exec());
}
