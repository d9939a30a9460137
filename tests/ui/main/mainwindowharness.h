#pragma once

#include "app/mdlmain.h"
#include "platform/messagebox.h"
#include "settings/apppaths.h"
#include "settings/playmode.h"
#include "ui/fonts.h"
#include "ui/main/frminputscore.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    QByteArray playedFile() const { // the history of the mode in play
        return readFile(mdlMain::RunSettings->PlayMode == Mode::B ? "Recent_B.csv"
                                                                  : "Recent_A.csv");
    }

    void start() {
        window = mdlMain::Main();
        // The program's event loop ends when its window closes, and the shutdown follows.
        // Held as a plain widget: the window is hidden again while it is being destroyed.
        QWidget *const shownWindow = window;
        QObject::connect(window->windowHandle(), &QWindow::visibleChanged, shownWindow,
                         [shownWindow](bool shown) {
                             if (!shown) // not after a crash or close(): they take the window
                                 QTimer::singleShot(0, shownWindow, [] { mdlMain::Shutdown(); });
                         });
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void close() {
        if (window)
            mdlMain::Shutdown();
    }

    template <typename T> T *find(const QString &name) const {
        return window->findChild<T *>(name);
    }
    QLineEdit *txt(int i) const { return find<QLineEdit>(QStringLiteral("txt(%1)").arg(i)); }

    QPointer<frmInputScore> window;
    QByteArray initialHistory;
    QStringList boxes;   // title and text of each
    int windowSyncs = 0; // of the file layer, while counted
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private:
    QTemporaryDir m_dir;
};
