#include "ChatChanges.h"

#include "DifferenceSummary.h"
#include "LineDifference.h"
#include "LineLayout.h"

Difference ChatDifference(const QByteArray& before, const QByteArray& after)
{
    return LineDifference(LineLayout(before).Texts(), LineLayout(after).Texts());
}

QString ChatChangeSummary(const QByteArray& before, const QByteArray& after)
{
    const QString counts = LineCountsPart(ChatDifference(before, after), QStringLiteral("chat line"));
    return Summary(before, after, counts.isEmpty() ? QStringList() : QStringList{counts});
}
