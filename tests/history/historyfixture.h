#pragma once

#include "app/apppaths.h"
#include "history/historystore.h"
#include "platform/filesystemobject.h"
#include "platform/gridmodel.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A program folder of its own with both history files, the store and the two grids.
struct HistoryFixture {
    HistoryFixture() { AppPaths::overrideForTests(dir.path(), QStringLiteral("Dartrail")); }
    ~HistoryFixture() { AppPaths::overrideForTests(QString(), QString()); }

    static inline const QByteArray missing = "<missing>";

    // Replaces the file; writing `missing` leaves it absent.
    static void write(const QString &path, const QByteArray &content) {
        QFile::remove(path);
        QFile file(path);
        if (content != missing)
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    static QByteArray contentOf(const QString &path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : missing;
    }
    static void write(qint32 mode, const QByteArray &content) {
        write(HistoryStore::filePath(mode), content);
    }
    static QByteArray contentOf(qint32 mode) { return contentOf(HistoryStore::filePath(mode)); }
    // A history line saved on the given day of March 2024 with the given values.
    static QByteArray game(int day, const QByteArray &values) {
        return "2024/03/" + QByteArray::number(day).rightJustified(2, '0') + " 21:04:09," + values;
    }
    // Lines of games saved on the days first..last, every value the day's last digit.
    static QByteArray games(int first, int last) {
        QByteArray content;
        for (int day = first; day <= last; ++day)
            content +=
                game(day, (QByteArray::number(day % 10) + ',').repeated(21).chopped(1)) + "\r\n";
        return content;
    }
    QString load(qint32 mode) { return store.load(mode, recent, averages); }
    QString remove(qint32 mode, const QList<int> &rows) { return store.remove(mode, recent, rows); }
    // Cells 0, 1, 21, 22, 23 and 24 of a recent row, joined by "|".
    QString recentRow(int row) const {
        QStringList cells;
        for (int col : {0, 1, 21, 22, 23, 24})
            cells.append(recent.text(row, col));
        return cells.join(u'|');
    }

    QTemporaryDir dir;
    FileSystemObject fileSystem;
    HistoryStore store{fileSystem};
    GridModel recent;
    GridModel averages;
};
