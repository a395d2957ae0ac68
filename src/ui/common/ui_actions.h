#pragma once
// Actions are named by subject and verb (`DrawsAdd`, `CombsGen`); the hint shows as the
// tooltip and, while idle, in the status bar.

#include <QAction>
#include <QKeySequence>
#include <QString>

namespace pelko {

inline QAction* MakeAction(QObject* parent, const char* name, const QString& caption,
                           const QString& hint = {}, const QKeySequence& shortcut = {}) {
    auto* action = new QAction(caption, parent);
    action->setObjectName(QString::fromLatin1(name));
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    return action;
}

inline QAction* MakeOption(QObject* parent, const char* name, const QString& caption, bool checked,
                           const QString& hint = {}) {
    QAction* action = MakeAction(parent, name, caption, hint);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

} // namespace pelko
