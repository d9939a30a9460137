#include "ui/about/documentopener.h"

#include <QDesktopServices>

#include <utility>

namespace {
DocumentOpener::Opener replacement;
} // namespace

void DocumentOpener::open(const QUrl &url) {
    if (replacement) {
        replacement(url);
        return;
    }
    // The desktop launches the viewer detached; a missing viewer is not the player's concern here.
    QDesktopServices::openUrl(url);
}

void DocumentOpener::setOpener(Opener opener) {
    replacement = std::move(opener);
}
