#pragma once

#include <QString>
#include <QStringList>
#include <QTest>

#include <sys/resource.h>
#include <sys/types.h>

// The small program tests/probes/linefile_probe runs one operation of the line
// file layer in a child process, for the cases that need another user (a
// read-only file, an unreadable folder), lowered resource limits or faults
// injected into the system calls of a save. When the tests run as root, that
// child drops to the user "nobody", so the permission cases are exercised
// rather than skipped.

struct ChildUser {
    bool drop = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

struct ProbeOptions {
    ChildUser user;
    rlim_t fileSizeLimit = RLIM_INFINITY;
    QString cacheFolder;  // the user's cache folder; the test's own when empty
    rlim_t openFilesLimit = RLIM_INFINITY;
};

struct ProbeRun {
    bool finished = false;
    int exitCode = -1;
    QString output;  // stdout without the final line end
    QString errors;

    QString Describe() const;
};

// The probe as the build made it.
QString BuiltProbePath();

// The build may lie in a folder that "nobody" cannot enter (a private home
// folder), so the children run a copy kept beside the folders they work in.
QString& ProbePath();

// The user the permission cases run as: this process's own user, or
// "nobody" when the tests run as root. False when there is none.
bool UnprivilegedChild(ChildUser& user);

ProbeRun RunProbe(const QStringList& arguments, const QString& workingFolder,
                  const ProbeOptions& options = {});

#define RUN_PROBE(run, ...)                                                     \
    const ProbeRun run = RunProbe(__VA_ARGS__);                                 \
    QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.Describe()))
