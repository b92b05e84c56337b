#include "VersionRows.h"

#include "ChangeTerms.h"

#include <span>

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

// A first reading is kept only when it differs from the newest version
// kept, so after the oldest it is a change made while the editor did not
// run (unless both were too large to compare). A restore names the version
// it wrote back: the newest before it with those very bytes, since the
// history keeps the bytes, not the choice.
QString MadeBy(const StoredVersion& version, std::span<const StoredVersion> earlier)
{
    if (version.maker == VersionMaker::FirstReading && !earlier.empty()
        && !(version.tooLarge && earlier.front().tooLarge))
        return QStringLiteral("changed by another program between runs");
    if (version.maker != VersionMaker::Restored || !version.content)
        return DescriptionOf(version.maker);
    for (const StoredVersion& source : earlier)
        if (source.content == version.content)
            return QStringLiteral("restored version %1 of %2")
                .arg(QString::number(source.number), ExactTime(source.madeAt));
    return QStringLiteral("restored a version no longer kept");
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
        const std::span<const StoredVersion> earlier = std::span(versions).subspan(i + 1);
        rows.push_back({version.number, version.madeAt, MadeBy(version, earlier),
                        ChangeAgainst(file, version, earlier.empty() ? nullptr : &earlier.front())});
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
