#pragma once

#include <QUrl>

#include <functional>

// Hands a document or web address to the desktop's default application and returns at once,
// ignoring any failure. Tests replace the opener so that nothing is launched.
class DocumentOpener {
public:
    static void open(const QUrl &url);

    // While set, open() passes the address here instead; an empty opener restores the desktop's.
    using Opener = std::function<void(const QUrl &url)>;
    static void setOpener(Opener opener);
};
