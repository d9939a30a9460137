#include "app/commandline.h"

#include "version.h"

#include <QFileInfo>

namespace CommandLine {

std::optional<QString> reply(const QStringList &arguments) {
    const QString version = QStringLiteral("%1 %2.%3.%4\n")
                                .arg(QLatin1String(Version::Title))
                                .arg(Version::Major)
                                .arg(Version::Minor)
                                .arg(Version::Revision);
    const QString program = QFileInfo(arguments.value(0)).fileName();
    for (const QString &argument : arguments.mid(1)) {
        if (argument == QLatin1String("--version"))
            return version;
        if (argument == QLatin1String("--help"))
            return version +
                   QStringLiteral(
                       "Keeps the scores of darts practice games: one card of 21 results (targets "
                       "1 to 20, then the bull)\nper game, the history of each play mode, "
                       "averages, hit rates and charts.\n\n"
                       "Usage: %1 [--help | --version]\n\n"
                       "Settings (%1.ini) and histories (Recent_A.csv, Recent_B.csv) are kept "
                       "in\n$XDG_DATA_HOME/Dartrail (by default ~/.local/share/Dartrail) when the "
                       "program is installed\nfor all users or its folder cannot be written, "
                       "else beside the program.\n")
                       .arg(program);
    }
    return std::nullopt;
}

} // namespace CommandLine
