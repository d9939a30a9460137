#include "ui/about/frmabout.h"

#include "platform/colourpair.h"
#include "platform/screencentre.h"
#include "platform/twips.h"
#include "ui/about/helppage.h"
#include "ui/appicon.h"
#include "ui/fonts.h"
#include "version.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

namespace {

const QString Notice = QStringLiteral("A free scorekeeper for darts practice.");

// The program's title, two spaces, then the build's version.
QString versionLine() {
    return QStringLiteral("%1  Version %2.%3.%4")
        .arg(QLatin1String(Version::Title))
        .arg(Version::Major)
        .arg(Version::Minor)
        .arg(Version::Revision);
}

} // namespace

frmAbout::frmAbout(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Version Information"));
    setFont(Fonts::proportionalGothic(9));
    setFixedSize(Twips::toPixels(5400), Twips::toPixels(2040));
    // Pointer moves without a button pressed must reach the window and the link.
    setMouseTracking(true);

    auto *picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(Twips::rect(240, 240, 540, 540));
    picIcon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picIcon->setPixmap(AppIcon::icon().pixmap(32, 32));
    picIcon->setAccessibleName(QStringLiteral("Dartrail icon"));

    addLabel(QStringLiteral("lbl(0)"), versionLine(), 1080, 240,
             Fonts::proportionalGothic(12, true));
    addLabel(QStringLiteral("lbl(1)"), Notice, 1080, 600, font());
    // The program has no web site; the link leads to the help page that comes with it.
    m_lblURL = addLabel(QStringLiteral("lblURL"),
                        QStringLiteral("HELP PAGE: %1").arg(QLatin1String(HelpPageFile)), 1080, 840,
                        Fonts::proportionalGothic(9.75));
    m_lblURL->setMouseTracking(true);
    m_lblURL->installEventFilter(this);
    m_lblURL->setAccessibleDescription(QStringLiteral("Opens the help page"));
    setLinkColor(Qt::blue);

    auto *cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(Twips::rect(2040, 1500, 1380, 405));
    cmdOK->setFont(Fonts::proportionalGothic(12));
    cmdOK->setDefault(true);
    cmdOK->setFocus();
    // Esc rejects the dialog, which closes it just like OK.
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
}

void frmAbout::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    centreOnScreen(this);
}

QLabel *frmAbout::addLabel(const QString &name, const QString &text, int left, int top,
                           const QFont &font) {
    auto *label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->setFont(font);
    label->move(Twips::toPixels(left), Twips::toPixels(top));
    setTextColor(label, Qt::black);
    label->adjustSize();
    return label;
}

void frmAbout::setLinkColor(Qt::GlobalColor color) {
    setTextColor(m_lblURL, color);
}

void frmAbout::setTextColor(QLabel *label, Qt::GlobalColor color) const {
    // Black, blue and red as designed where they read on the window; a shade of them where not.
    ColourPair::set(label, palette().color(QPalette::Window), color);
}

bool frmAbout::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_lblURL)
        return QDialog::eventFilter(watched, event);
    if (event->type() == QEvent::MouseMove) {
        setLinkColor(Qt::red);
        return true; // the label would pass it on to the window, which turns the link blue
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_lblURL->rect().contains(mouse->position().toPoint())) {
            setLinkColor(Qt::blue);
            openHelpPage(this);
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void frmAbout::mouseMoveEvent(QMouseEvent *event) {
    // Only the window and the link track the pointer, so moves over the other controls never get
    // here and leave the link as it is.
    setLinkColor(Qt::blue);
    QDialog::mouseMoveEvent(event);
}
