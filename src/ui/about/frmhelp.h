#pragma once

#include <QDialog>
#include <QUrl>

class QTextBrowser;

// The help page in a window of the program's own, for a desktop that has no viewer for it: a
// read-only view of the page whose links within it and to other local pages work, while web
// addresses go to the desktop's opener. Modeless, so the page can be read beside the card.
class frmHelp : public QDialog {
    Q_OBJECT
public:
    explicit frmHelp(QWidget *parent = nullptr);

    // Shows the page in the help window over the parent's main window, opening one if there is
    // none yet.
    static void showPage(const QUrl &page, QWidget *parent);

private:
    void followLink(const QUrl &link);

    QTextBrowser *m_txtHelp = nullptr;
};
