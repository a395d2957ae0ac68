#include "ui/shell/process_wait.h"

#include "ui/shell/signal_close.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

namespace pelko {

int CountOtherInstances(const QString& executableName) {
    const QString self = QString::number(QCoreApplication::applicationPid());
    int count = 0;
    const QStringList entries =
        QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& pid : entries) {
        bool numeric = false;
        pid.toLongLong(&numeric);
        if (!numeric || pid == self) continue;
        const QString exe = QFileInfo(QStringLiteral("/proc/%1/exe").arg(pid)).symLinkTarget();
        if (!exe.isEmpty() &&
            QFileInfo(exe).fileName().compare(executableName, Qt::CaseInsensitive) == 0)
            ++count;
    }
    return count;
}

bool WaitForOtherInstances(const QString& executableName, int rounds) {
    for (int i = 0; i < rounds && !Terminating(); ++i) {
        if (CountOtherInstances(executableName) == 0) return true;
        QDeadlineTimer deadline(100);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            QThread::msleep(10);
        }
    }
    return !Terminating() && CountOtherInstances(executableName) == 0;
}

} // namespace pelko
