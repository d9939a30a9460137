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
    struct Box {
        QMessageBox::Icon icon;
        QString text;
        QString title;
    };

    // The program runs as an executable of that file name, which names its settings file.
    explicit MainWindowHarness(const QString &program = QStringLiteral("Dartrail")) {
        QApplication::setQuitOnLastWindowClosed(false);
        Fonts::installSubstitutes();
        AppPaths::overrideForTests(m_dir.path(), program);
        MessageBox::setResponder(
            [this](QMessageBox::Icon icon, const QString &text, const QString &title) {
                boxes.append({icon, text, title});
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

    // Starts the window; a mode ("A" or "B") is written to the settings file first.
    frmInputScore *start(const char *mode = nullptr) {
        if (mode)
            writeFile(QStringLiteral("Dartrail.ini"), QByteArray("[GAME]\nMODE=") + mode + "\n");
        window = mdlMain::Main();
        window->activateWindow();
        if (!QTest::qWaitForWindowActive(window))
            qWarning("main window did not become active");
        return window;
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
    QPushButton *cmdNum(int d) const {
        return find<QPushButton>(QStringLiteral("cmdNum(%1)").arg(d));
    }
    QAction *item(const QString &name) const { return find<QAction>(name); }
    QString labelText(const QString &name) const { return find<QLabel>(name)->text(); }

    void click(QWidget *widget) const { QTest::mouseClick(widget, Qt::LeftButton); }
    void clickRecentRow(int row) const {
        auto *recent = find<QAbstractItemView>(QStringLiteral("grdRecent"));
        QTest::mouseClick(recent->viewport(), Qt::LeftButton, {},
                          recent->visualRect(recent->model()->index(row, 1)).center());
    }
    QWidget *focus() const { return QApplication::focusWidget(); }

    QPointer<frmInputScore> window;
    QList<Box> boxes;
    QMessageBox::StandardButton answer = QMessageBox::Ok;

private:
    QTemporaryDir m_dir;
};
