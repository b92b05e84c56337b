#include "DifferenceSummary.h"

#include "LineLayout.h"

#include <algorithm>

namespace {

constexpr qsizetype PartsShown = 4;

bool IsBlank(QChar character)
{
    return character == QLatin1Char(' ') || character == QLatin1Char('\t');
}

QString ShownSide(const std::optional<QString>& value)
{
    return value ? ShownValue(*value) : QStringLiteral("not set");
}

QString Counted(qsizetype count, const QString& what)
{
    return QString::number(count) + QLatin1Char(' ') + what;
}

// The bytes a reading takes: those before the first Ctrl-Z.
QByteArrayView ReadPart(const QByteArray& content)
{
    const qsizetype end = content.indexOf('\x1a');
    return end < 0 ? QByteArrayView(content) : QByteArrayView(content).first(end);
}

bool OnlyLineEndsDiffer(const QByteArray& before, const QByteArray& after)
{
    return ReadPart(before) != ReadPart(after)
           && LineLayout(before).Texts() == LineLayout(after).Texts();
}

} // namespace

QString ShownValue(const QString& value)
{
    if (value.isEmpty() || IsBlank(value.front()) || IsBlank(value.back()))
        return QLatin1Char('"') + value + QLatin1Char('"');
    return value;
}

QString ChangePart(const DifferenceRow& row)
{
    return row.name + QLatin1Char(' ') + ShownSide(row.before) + QStringLiteral(" \u2192 ")
           + ShownSide(row.after);
}

QString LineCountsPart(const Difference& rows, const QString& noun)
{
    qsizetype changed = 0;
    qsizetype added = 0;
    qsizetype removed = 0;
    for (const DifferenceRow& row : rows) {
        if (!row.name.isEmpty())
            continue;
        changed += row.before && row.after;
        added += !row.before;
        removed += !row.after;
    }
    QStringList counts;
    const auto count = [&](qsizetype number, const char* what) {
        if (number == 0)
            return;
        // The first count names what it counts, the others share it.
        const QString plural = number == 1 ? QString() : QStringLiteral("s");
        const QString things = counts.isEmpty() ? noun + plural + QLatin1Char(' ') : QString();
        counts << Counted(number, things + QLatin1String(what));
    };
    count(changed, "changed");
    count(added, "added");
    count(removed, "removed");
    return counts.join(QStringLiteral(", "));
}

QString SettingName(const QString& caption)
{
    QString name = caption.left(caption.indexOf(QLatin1Char('('))).simplified();
    const QLatin1String verb("Enable ");
    return name.startsWith(verb) ? name.mid(verb.size()) : name;
}

QString Summary(const QByteArray& before, const QByteArray& after, const QStringList& parts)
{
    if (before == after)
        return QStringLiteral("no change");
    if (parts.isEmpty()) {
        return OnlyLineEndsDiffer(before, after) ? QStringLiteral("line ends changed")
                                                 : QStringLiteral("no change in what the page shows");
    }
    QStringList shown = parts.first(std::min(parts.size(), PartsShown));
    if (parts.size() > PartsShown)
        shown << QStringLiteral("and %1 more").arg(parts.size() - PartsShown);
    return shown.join(QStringLiteral("; "));
}
