#include "ui/shell/startup_options.h"

namespace pelko {

bool HasSwitch(const QStringList& arguments, const QString& name) {
    for (const QString& argument : arguments) {
        for (const QString& prefix : {QString(), QStringLiteral("-"), QStringLiteral("--"),
                                      QStringLiteral("/"), QStringLiteral("\\")})
            if (argument.compare(prefix + name, Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

TStartupOptions TStartupOptions::Parse(const QStringList& arguments) {
    TStartupOptions options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        auto value = [&](const QString& option, QString& target) {
            if (a == option && i + 1 < arguments.size()) {
                target = arguments[++i];
                return true;
            }
            if (a.startsWith(option + QLatin1Char('='))) {
                target = a.mid(option.size() + 1);
                return true;
            }
            return false;
        };
        if (value(QStringLiteral("--data-dir"), options.DataDir) ||
            value(QStringLiteral("--screenshots"), options.ScreenshotsDir))
            continue;
        options.Arguments << a;
    }
    return options;
}

} // namespace pelko
