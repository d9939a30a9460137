#include "ui/about/helppage.h"

#include "app/apppaths.h"
#include "app/datafolder.h"
#include "platform/messagebox.h"
#include "ui/about/documentopener.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

void openHelpPage(QWidget *parent) {
    const QString name = QLatin1String(HelpPageFile);
    const QDir shared(QCoreApplication::applicationDirPath() + u'/' +
                      QLatin1String(SharedFilesFolder));
    for (const QFileInfo &page : {QFileInfo(QFile::decodeName(AppPaths::filePath(HelpPageFile))),
                                  QFileInfo(shared, name), QFileInfo(QDir::current(), name)}) {
        if (!page.isFile())
            continue;
        if (!DocumentOpener::open(QUrl::fromLocalFile(page.absoluteFilePath())))
            MessageBox::showError(parent,
                                  QStringLiteral("No viewer could open %1.")
                                      .arg(QDir::toNativeSeparators(page.absoluteFilePath())));
        return;
    }
    MessageBox::showError(parent, QStringLiteral("%1 is neither beside the program nor in %2.")
                                      .arg(name, QDir::toNativeSeparators(QDir::currentPath())));
}
