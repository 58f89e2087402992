#include "cli/CliOptions.h"

#include <QDir>

bool CliOptions::Parse(const QStringList& arguments, const QStringList& valueOptions, const QStringList& switches,
                       QString& reason)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1String("--")) {
            positional_ += arguments.mid(i + 1);
            return true;
        }
        if (!argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            positional_ += argument;
            continue;
        }
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        const QString option = equals < 0 ? argument : argument.left(equals);
        if (switches.contains(option) && equals < 0) {
            values_.insert(option, QString());
        } else if (valueOptions.contains(option)) {
            if (equals >= 0) {
                values_.insert(option, argument.mid(equals + 1));
            } else if (i + 1 < arguments.size()) {
                values_.insert(option, arguments[++i]);
            } else {
                reason = QStringLiteral("%1 needs a value").arg(option);
                return false;
            }
        } else {
            reason = QStringLiteral("unknown option %1").arg(argument);
            return false;
        }
    }
    return true;
}

bool EnterFolder(const CliOptions& options, QString& reason)
{
    const QString folder = options.Value(QStringLiteral("--folder"), QStringLiteral("."));
    if (!QDir::setCurrent(folder)) {
        reason = QStringLiteral("%1: no such folder").arg(folder);
        return false;
    }
    return true;
}
