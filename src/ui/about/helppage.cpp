#include "ui/about/helppage.h"

#include "platform/messagebox.h"
#include "settings/apppaths.h"
#include "settings/datafolder.h"
#include "ui/about/documentopener.h"
#include "ui/about/frmhelp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

void openHelpPage(QWidget *parent) {
    const QString name = QLatin1String(HelpPageFile);
    const QDir program(QFile::decodeName(AppPaths::executableDirectory()));
    for (const QFileInfo &page :
         {QFileInfo(program, name),
          QFileInfo(program, QLatin1String(SharedFilesFolder) + u'/' + name),
          QFileInfo(QDir::current(), name)}) {
        if (!page.isFile())
            continue;
        const QUrl url = QUrl::fromLocalFile(page.absoluteFilePath());
        if (!DocumentOpener::open(url))
            frmHelp::showPage(url, parent);
        return;
    }
    MessageBox::showError(parent, QStringLiteral("%1 is neither beside the program nor in %2.")
                                      .arg(name, QDir::toNativeSeparators(QDir::currentPath())));
}
