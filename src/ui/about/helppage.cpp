#include "ui/about/helppage.h"

#include "ui/about/documentopener.h"

#include <QDir>
#include <QFileInfo>

void openHelpPage(QWidget * /*parent*/) {
    // The bare name is looked up in the working directory, not beside the executable.
    const QFileInfo page(QDir::current(), QStringLiteral("ReadMe_and_Help.html"));
    if (page.isFile())
        DocumentOpener::open(QUrl::fromLocalFile(page.absoluteFilePath()));
}
