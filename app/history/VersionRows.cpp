#include "VersionRows.h"

#include "ChangeTerms.h"

namespace {

QString ChangeAgainst(const QString& file, const StoredVersion& version,
                      const StoredVersion* earlier)
{
    if (version.tooLarge)
        return QStringLiteral("larger than %1 KiB: its content is not kept")
            .arg(HistoryLimits::largestContent / 1024);
    if (!version.content)
        return QStringLiteral("the file was removed");
    if (!earlier)
        return QStringLiteral("the oldest version kept");
    if (earlier->tooLarge)
        return QStringLiteral("the version before is not kept to compare with");
    if (!earlier->content)
        return QStringLiteral("the file was created");
    return ChangeSummary(file, *earlier->content, *version.content);
}

QString Count(qint64 count, const char* unit)
{
    return QStringLiteral("%1 %2%3 ago").arg(count).arg(QLatin1String(unit)).arg(
        count == 1 ? QString() : QStringLiteral("s"));
}

} // namespace

std::vector<VersionRow> VersionRows(const QString& file, const std::vector<StoredVersion>& versions)
{
    std::vector<VersionRow> rows;
    rows.reserve(versions.size());
    for (std::size_t i = 0; i < versions.size(); ++i) {
        const StoredVersion& version = versions[i];
        const StoredVersion* earlier = i + 1 < versions.size() ? &versions[i + 1] : nullptr;
        rows.push_back({version.number, version.madeAt, DescriptionOf(version.maker),
                        ChangeAgainst(file, version, earlier)});
    }
    return rows;
}

QString RelativeTime(const QDateTime& madeAt, const QDateTime& now)
{
    const qint64 seconds = madeAt.secsTo(now);
    if (seconds < 60)
        return QStringLiteral("just now");
    if (seconds < 3600)
        return Count(seconds / 60, "minute");
    if (seconds < 86400)
        return Count(seconds / 3600, "hour");
    const qint64 days = madeAt.toLocalTime().date().daysTo(now.toLocalTime().date());
    if (days <= 1)
        return QStringLiteral("yesterday");
    return Count(days, "day");
}

QString ExactTime(const QDateTime& madeAt)
{
    return madeAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
