#pragma once

#include "app/apppaths.h"
#include "app/fonts.h"
#include "app/mdlmain.h"
#include "platform/messagebox.h"
#include "ui/main/frminputscore.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

// Starts the real main window through start-up in a folder of its own, answers its message
// boxes, and closes it again through the normal shutdown.
class MainWindowHarness {
public:
    // The program runs as an executable of that file name, which names its settings file.
    explicit MainWindowHarness(const QString &program = QStringLiteral("Dartrail")) {
        QApplication::setQuitOnLastWindowClosed(false);
        Fonts::installSubstitutes();
        AppPaths::overrideForTests(m_dir.path(), program);
        MessageBox::setResponder(
            [this](QMessageBox::Icon, const QString &text, const QString &title) {
                boxes.append(title + u' ' + text);
                return answer;
            });
    }

    ~MainWindowHarness() {
        close();
        MessageBox::setResponder({});
        AppPaths::overrideForTests({}, {});
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

    void writeFile(const QString &name, const QByteArray &bytes) const {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray readFile(const QString &name) const {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void start() {
        window = mdlMain::Main();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("main window did not become active");
    }

    void close() {
        if (!window)
            return;
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <typename T> T *find(const QString &name) const {
        return window->findChild<T *>(name);
    }
    QLineEdit *txt(int i) const { return find<QLineEdit>(QStringLiteral("txt(%1)").arg(i)); }
    QLabel *lbl(int i) const { return find<QLabel>(QStringLiteral("lbl(%1)").arg(i)); }
    QPushButton *cmd(int i) const { return find<QPushButton>(QStringLiteral("cmd(%1)").arg(i)); }
    QAction *item(const QString &name) const { return find<QAction>(name); }
    QString labelText(const QString &name) const { return find<QLabel>(name)->text(); }

    void clickRecentRow(int row) const {
        auto *recent = find<QAbstractItemView>(QStringLiteral("grdRecent"));
        QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                          recent->visualRect(recent->model()->index(row, 1)).center());
    }

    QPointer<frmInputScore> window;
    QStringList boxes; // title and text of each
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private:
    QTemporaryDir m_dir;
};
