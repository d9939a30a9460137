#include "ui/about/documentopener.h"

#include <QDesktopServices>

#include <utility>

namespace {
DocumentOpener::Opener replacement;
} // namespace

bool DocumentOpener::open(const QUrl &url) {
    if (replacement)
        return replacement(url);
    // The desktop launches the viewer detached; false when it has none for the address.
    return QDesktopServices::openUrl(url);
}

void DocumentOpener::setOpener(Opener opener) {
    replacement = std::move(opener);
}
