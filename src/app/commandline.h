#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The two arguments the program answers without starting, so without a display: --version and
// --help. Every other argument is ignored.
namespace CommandLine {

// The text to print before leaving, or nothing when the program is to start. The first argument
// is the program itself.
std::optional<QString> reply(const QStringList &arguments);

} // namespace CommandLine
