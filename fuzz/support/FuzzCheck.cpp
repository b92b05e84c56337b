#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

void PropertyBroken(const char* property, const QString& detail)
{
    std::fprintf(stderr, "\nproperty broken: %s\n%s\n", property, qUtf8Printable(detail));
    std::abort();
}

QString Shown(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toPercentEncoding(" "));
}
