#include "updater/processes.h"

#include "app/helpers.h"

#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>
#include <limits.h>
#include <unistd.h>

namespace {

QString AsciiUpper(QString text) {
    for (QChar& c : text) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - u'a' + u'A');
    }
    return text;
}

// The file name of a process's executable; empty when it cannot be read
// (kernel threads, processes that have just ended).
QString ExecutableName(const QString& pid) {
    char target[PATH_MAX];
    const QByteArray link = QFile::encodeName(QStringLiteral("/proc/%1/exe").arg(pid));
    const ssize_t length = ::readlink(link.constData(), target, sizeof target);
    if (length <= 0)
        return QString();
    QString path = QFile::decodeName(QByteArray(target, length));
    // A program whose file was replaced while it ran still shows the old name.
    const QString deleted = QStringLiteral(" (deleted)");
    if (path.endsWith(deleted))
        path.chop(deleted.size());
    return path.mid(path.lastIndexOf(u'/') + 1);
}

const char* const ServiceName = "TolvarHost";

} // namespace

QString MainProgramName() {
    const QString name = qEnvironmentVariable("RENOVO_MAIN_PROGRAM");
    return name.isEmpty() ? QStringLiteral("Brimsoll") : name;
}

int KillProcess(const QString& name) {
    if (name.isEmpty())
        return 0;
    const QString wanted = AsciiUpper(name);
    const QString self = QString::number(::getpid());
    int count = 0;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& entry : entries) {
        bool numeric = false;
        const int pid = entry.toInt(&numeric);
        if (!numeric || entry == self)
            continue;
        const QString executable = ExecutableName(entry);
        if (executable.isEmpty() || !AsciiUpper(executable).contains(wanted))
            continue;
        if (::kill(pid, SIGKILL) == 0)
            ++count;
    }
    return count;
}

void Delay(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

void ControlServerService(const QString& action) {
    ShellRun(QStandardPaths::findExecutable(QStringLiteral("service")),
             QString::fromLatin1(ServiceName) + u' ' + action);
}
