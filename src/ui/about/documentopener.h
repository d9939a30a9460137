#pragma once

#include <QUrl>

#include <functional>

// Hands a document or web address to the desktop's default application and returns at once,
// telling whether the desktop took it. Tests replace the opener so that nothing is launched.
class DocumentOpener {
public:
    static bool open(const QUrl &url);

    // While set, open() passes the address here instead; an empty opener restores the desktop's.
    using Opener = std::function<bool(const QUrl &url)>;
    static void setOpener(Opener opener);
};
