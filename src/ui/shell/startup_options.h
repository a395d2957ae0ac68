#pragma once
// The window program's command line: the switches ("restart", "no-language",
// "fullrecreate", "fullrefresh", ... written with "-", "--", "/" or "\" in front or bare,
// any case) and the two options with a value, "--data-dir DIR" and "--screenshots DIR".

#include <QString>
#include <QStringList>

namespace pelko {

// True when some argument is the name, or the name after "-", "--", "/" or "\", ignoring case.
bool HasSwitch(const QStringList& arguments, const QString& name);

struct TStartupOptions {
    QStringList Arguments;  // without the program name
    QString DataDir;        // --data-dir, empty when not given
    QString ScreenshotsDir; // --screenshots: save a picture of each tab there and exit

    bool Has(const QString& name) const { return HasSwitch(Arguments, name); }
    bool Restart() const { return Has(QStringLiteral("restart")); }
    bool NoLanguage() const { return Has(QStringLiteral("no-language")); }
    bool FullRecreate() const { return Has(QStringLiteral("fullrecreate")); }
    bool FullRefresh() const { return Has(QStringLiteral("fullrefresh")); }
    bool LoadOnly() const { return Has(QStringLiteral("loadonly")); }

    // `arguments` as QCoreApplication::arguments() gives them (program name first).
    static TStartupOptions Parse(const QStringList& arguments);
};

} // namespace pelko
