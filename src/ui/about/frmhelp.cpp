#include "ui/about/frmhelp.h"

#include "platform/colourpair.h"
#include "platform/messagebox.h"
#include "ui/about/documentopener.h"

#include <QDir>
#include <QTextBrowser>
#include <QVBoxLayout>

frmHelp::frmHelp(QWidget *parent)
    : QDialog(parent, Qt::Window) {
    setObjectName(QStringLiteral("frmHelp"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_txtHelp = new QTextBrowser(this);
    m_txtHelp->setObjectName(QStringLiteral("txtHelp"));
    m_txtHelp->setAccessibleName(QStringLiteral("HELP"));
    // Text can be selected and copied from the keyboard as well as with the mouse.
    m_txtHelp->setTextInteractionFlags(Qt::TextBrowserInteraction | Qt::TextSelectableByKeyboard);
    // The page is written as dark text on white; a dark desktop must not leave half of that.
    ColourPair::set(m_txtHelp, Qt::white, QColor(0x22, 0x22, 0x22));
    m_txtHelp->setOpenLinks(false);
    connect(m_txtHelp, &QTextBrowser::anchorClicked, this, &frmHelp::followLink);
    connect(m_txtHelp, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = m_txtHelp->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Dartrail  [Help]") : title);
    });
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_txtHelp);
    resize(720, 640);
}

void frmHelp::showPage(const QUrl &page, QWidget *parent) {
    // Owned by the main window, so that it outlives a dialog it was opened from and goes with the
    // program; one help window at a time.
    QWidget *owner = parent;
    while (owner && owner->parentWidget())
        owner = owner->parentWidget();
    frmHelp *help =
        owner ? owner->findChild<frmHelp *>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!help)
        help = new frmHelp(owner);
    help->m_txtHelp->setSource(page);
    help->show();
    help->raise();
    help->activateWindow();
}

void frmHelp::followLink(const QUrl &link) {
    const QUrl target = m_txtHelp->source().resolved(link);
    if (target.isLocalFile()) {
        m_txtHelp->setSource(target); // within the page it only scrolls
        return;
    }
    if (!DocumentOpener::open(target))
        MessageBox::showError(
            this, QStringLiteral("No viewer could open %1.").arg(target.toDisplayString()));
}
