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
            return version + QStringLiteral("License GPL-3.0-or-later: GNU GPL version 3 or later "
                                            "<https://gnu.org/licenses/gpl.html>\n");
        if (argument == QLatin1String("--help"))
            return version +
                   QStringLiteral(
                       "Keeps the scores of darts practice games: one card of 21 results (targets "
                       "1 to 20, then the bull)\nper game, the history of each play mode, "
                       "averages, hit rates and charts.\n\n"
                       "Usage: %1 [--help | --version]\n\n"
                       "Settings (%1.ini) and histories (Recent_A.csv, Recent_B.csv) are kept "
                       "beside the program\nwhen its folder can be written. When the program is "
                       "installed for all users or\nits folder cannot be written, the histories "
                       "are kept in $XDG_DATA_HOME/Dartrail (by\ndefault ~/.local/share/Dartrail) "
                       "and the settings in $XDG_CONFIG_HOME/dartrail (by\ndefault "
                       "~/.config/dartrail).\n")
                       .arg(program);
    }
    return std::nullopt;
}

} // namespace CommandLine
