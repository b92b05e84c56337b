#pragma once

#include <QScopeGuard>
#include <QTest>

#include <pwd.h>
#include <unistd.h>

// Runs step as an ordinary user: this one, or "nobody" when the tests run as
// root, who may examine any path and write any file; only the effective user
// changes, and only for the step. False when there is no such user.
template <typename Step>
bool AsOrdinaryUser(Step&& step)
{
    if (::geteuid() != 0) {
        step();
        return true;
    }
    const struct passwd* nobody = ::getpwnam("nobody");
    if (nobody == nullptr || nobody->pw_uid == 0 || ::seteuid(nobody->pw_uid) != 0)
        return false;
    const auto backToRoot = qScopeGuard([] { QVERIFY(::seteuid(0) == 0); });
    step();
    return true;
}
