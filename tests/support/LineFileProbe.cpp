#include "LineFileProbe.h"

#include <QProcess>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <unistd.h>

QString ProbeRun::Describe() const
{
    return QStringLiteral("finished %1, exit code %2, stdout [%3], stderr [%4]")
        .arg(finished)
        .arg(exitCode)
        .arg(output, errors);
}

QString BuiltProbePath()
{
    return QStringLiteral(TAVRIK_PROBE_DIR "/linefile_probe");
}

QString& ProbePath()
{
    static QString path;
    return path;
}

bool UnprivilegedChild(ChildUser& user)
{
    if (::geteuid() != 0)
        return true;
    const struct passwd* entry = ::getpwnam("nobody");
    if (entry == nullptr || entry->pw_uid == 0)
        return false;
    user.drop = true;
    user.uid = entry->pw_uid;
    user.gid = entry->pw_gid;
    return true;
}

ProbeRun RunProbe(const QStringList& arguments, const QString& workingFolder,
                  const ProbeOptions& options)
{
    QProcess process;
    process.setProgram(ProbePath());
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    if (!options.cacheFolder.isEmpty()) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), options.cacheFolder);
        process.setProcessEnvironment(environment);
    }
    const ProbeOptions copy = options;
    process.setChildProcessModifier([copy] {
        // Runs in the child between fork and exec: system calls only.
        if (copy.fileSizeLimit != RLIM_INFINITY) {
            const struct rlimit limit {copy.fileSizeLimit, copy.fileSizeLimit};
            ::signal(SIGXFSZ, SIG_IGN);  // stays ignored across exec
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(120);
        }
        if (copy.openFilesLimit != RLIM_INFINITY) {
            const struct rlimit limit {copy.openFilesLimit, copy.openFilesLimit};
            if (::setrlimit(RLIMIT_NOFILE, &limit) != 0)
                ::_exit(121);
        }
        if (copy.user.drop) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(copy.user.gid) != 0
                || ::setuid(copy.user.uid) != 0)
                ::_exit(122);
        }
    });
    process.start();
    ProbeRun run;
    run.finished = process.waitForFinished(60000);
    if (!run.finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    run.errors = QString::fromUtf8(process.readAllStandardError()).trimmed();
    return run;
}
