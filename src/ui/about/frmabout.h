#pragma once

#include <QDialog>

class QLabel;

// The modal "Version Information" window: icon, title and version, a notice line and a link to the
// help page, which turns red under the pointer and opens the page on a click, as HELP does.
class frmAbout : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout(QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QLabel *addLabel(const QString &name, const QString &text, int left, int top,
                     const QFont &font);
    void setLinkColor(Qt::GlobalColor color);
    void setTextColor(QLabel *label, Qt::GlobalColor color) const;

    QLabel *m_lblURL = nullptr;
};
