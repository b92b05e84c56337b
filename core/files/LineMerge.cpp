#include "LineMerge.h"

#include "LineDifference.h"

#include <algorithm>
#include <vector>

namespace {

// The lines base[first, last) became in mine.
struct Hunk {
    qsizetype first = 0;
    qsizetype last = 0;
    QStringList lines;
};

std::vector<Hunk> HunksOf(const QStringList& base, const QStringList& mine)
{
    const std::vector<qsizetype> kept = KeptLines(base, mine);
    std::vector<Hunk> hunks;
    qsizetype baseNext = 0;
    qsizetype mineNext = 0;
    for (qsizetype line = 0; line <= base.size(); ++line) {
        const qsizetype mineLine = line < base.size() ? kept[std::size_t(line)] : mine.size();
        if (mineLine < 0)
            continue;
        if (baseNext < line || mineNext < mineLine)
            hunks.push_back({baseNext, line, mine.mid(mineNext, mineLine - mineNext)});
        baseNext = line + 1;
        mineNext = mineLine + 1;
    }
    return hunks;
}

// Lines theirs[first, last) that a hunk's lines take the place of.
struct Replacement {
    qsizetype first = 0;
    qsizetype last = 0;
    QStringList lines;
};

bool HoldsRun(const QStringList& lines, const QStringList& run)
{
    for (qsizetype start = 0; start + run.size() <= lines.size(); ++start) {
        if (lines.mid(start, run.size()) == run)
            return true;
    }
    return false;
}

// Whether theirs kept the hunk's lines of base, one after the other.
bool TheirsKeptWhole(const std::vector<qsizetype>& inTheirs, const Hunk& hunk)
{
    for (qsizetype line = hunk.first; line < hunk.last; ++line) {
        if (inTheirs[std::size_t(line)] < 0
            || inTheirs[std::size_t(line)] != inTheirs[std::size_t(hunk.first)] + line - hunk.first)
            return false;
    }
    return true;
}

Replacement ReplacementIn(const QStringList& base, const QStringList& theirs,
                          const std::vector<qsizetype>& inTheirs, const Hunk& hunk)
{
    // The nearest lines around the hunk that theirs kept.
    qsizetype before = hunk.first - 1;
    while (before >= 0 && inTheirs[std::size_t(before)] < 0)
        --before;
    qsizetype after = hunk.last;
    while (after < base.size() && inTheirs[std::size_t(after)] < 0)
        ++after;
    const qsizetype from = before >= 0 ? inTheirs[std::size_t(before)] + 1 : 0;
    const qsizetype to = after < base.size() ? inTheirs[std::size_t(after)] : theirs.size();
    const QStringList between = theirs.mid(from, to - from);
    if (hunk.first == hunk.last)
        return {from, from, HoldsRun(between, hunk.lines) ? QStringList() : hunk.lines};
    if (TheirsKeptWhole(inTheirs, hunk)) {
        return {inTheirs[std::size_t(hunk.first)], inTheirs[std::size_t(hunk.last - 1)] + 1,
                hunk.lines};
    }
    // Theirs changed these lines too: the user's stand, and what theirs
    // alone put in stays after them.
    const QStringList baseBetween = base.mid(before + 1, after - before - 1);
    QStringList lines = hunk.lines;
    for (const QString& line : between) {
        if (!baseBetween.contains(line) && !hunk.lines.contains(line))
            lines << line;
    }
    return {from, to, lines};
}

} // namespace

QStringList MergeLines(const QStringList& base, const QStringList& mine, const QStringList& theirs)
{
    const std::vector<qsizetype> inTheirs = KeptLines(base, theirs);
    QStringList merged;
    qsizetype next = 0;
    for (const Hunk& hunk : HunksOf(base, mine)) {
        const Replacement replacement = ReplacementIn(base, theirs, inTheirs, hunk);
        const qsizetype first = std::max(replacement.first, next);
        merged << theirs.mid(next, first - next) << replacement.lines;
        next = std::max(replacement.last, first);
    }
    merged << theirs.mid(next);
    return merged;
}
