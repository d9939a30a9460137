#include "ui/stats/statswindow.h"

#include "ui/fonts.h"

#include <QDialog>
#include <QLabel>
#include <QPushButton>

namespace StatsWindow {

void setUp(QDialog *window, const QString &caption) {
    window->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint);
    window->setWindowTitle(caption);
    window->setFont(Fonts::proportionalGothic(9.75));
}

QLabel *label(const QString &name, const QString &text, QWidget *parent) {
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QPushButton *closeButton(QDialog *window) {
    auto *cmdClose = new QPushButton(QStringLiteral("CLOSE"), window);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setAutoDefault(false);
    QObject::connect(cmdClose, &QPushButton::clicked, window, &QDialog::reject);
    return cmdClose;
}

QString undatedText(int undated) {
    if (undated <= 0)
        return {};
    return QStringLiteral("%1 %2 WITHOUT A DATE IGNORED")
        .arg(undated)
        .arg(undated == 1 ? QStringLiteral("LINE") : QStringLiteral("LINES"));
}

} // namespace StatsWindow
