#include "LineDifference.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

enum class Step { Keep, Remove, Add };

// The search keeps a frontier per step, so its memory grows with the square
// of the steps: past this many, the lines between the common beginning and
// end count as changed in order, which is no shortest script but still true.
constexpr qsizetype MaxSteps = 2000;

// The furthest position in the earlier version reached on each diagonal
// k = x - y, for k from -d to d, after d steps that were no keep.
using Frontier = std::vector<qsizetype>;

qsizetype At(const Frontier& frontier, qsizetype d, qsizetype k)
{
    return frontier[std::size_t(k + d)];
}

// Whether the path to diagonal k comes down from k + 1 (a line put in)
// rather than across from k - 1 (a line taken away).
bool ComesDown(const Frontier& previous, qsizetype d, qsizetype k)
{
    return k == -d || (k != d && At(previous, d - 1, k - 1) < At(previous, d - 1, k + 1));
}

// Myers' search for a shortest edit script, keeping each step's frontier
// so that the path can be walked back; none past MaxSteps.
std::optional<std::vector<Frontier>> Frontiers(const QStringList& before, const QStringList& after)
{
    const qsizetype n = before.size();
    const qsizetype m = after.size();
    std::vector<Frontier> frontiers;
    for (qsizetype d = 0; d <= MaxSteps; ++d) {
        Frontier frontier(std::size_t(2 * d + 1));
        bool reached = false;
        for (qsizetype k = -d; k <= d; k += 2) {
            qsizetype x = d == 0 ? 0
                          : ComesDown(frontiers.back(), d, k) ? At(frontiers.back(), d - 1, k + 1)
                                                              : At(frontiers.back(), d - 1, k - 1) + 1;
            while (x < n && x - k < m && before.at(x) == after.at(x - k))
                ++x;
            frontier[std::size_t(k + d)] = x;
            reached = reached || (x >= n && x - k >= m);
        }
        frontiers.push_back(std::move(frontier));
        if (reached)
            return frontiers;
    }
    return std::nullopt;
}

std::vector<Step> WalkBack(const std::vector<Frontier>& frontiers, qsizetype n, qsizetype m)
{
    std::vector<Step> steps;
    qsizetype x = n;
    qsizetype y = m;
    for (qsizetype d = qsizetype(frontiers.size()) - 1; d > 0; --d) {
        const Frontier& previous = frontiers[std::size_t(d - 1)];
        const qsizetype k = x - y;
        const bool down = ComesDown(previous, d, k);
        const qsizetype previousK = down ? k + 1 : k - 1;
        const qsizetype previousX = At(previous, d - 1, previousK);
        const qsizetype previousY = previousX - previousK;
        for (; x > previousX && y > previousY; --x, --y)
            steps.push_back(Step::Keep);
        steps.push_back(down ? Step::Add : Step::Remove);
        x = previousX;
        y = previousY;
    }
    for (; x > 0; --x)
        steps.push_back(Step::Keep);
    std::reverse(steps.begin(), steps.end());
    return steps;
}

std::vector<Step> EditScript(const QStringList& before, const QStringList& after)
{
    if (const auto frontiers = Frontiers(before, after))
        return WalkBack(*frontiers, before.size(), after.size());
    std::vector<Step> steps(std::size_t(before.size()), Step::Remove);
    steps.insert(steps.end(), std::size_t(after.size()), Step::Add);
    return steps;
}

// The lines gone and come between two kept lines.
struct Hunk {
    QStringList gone;
    QStringList come;
};

void AddHunk(Difference& rows, Hunk& hunk)
{
    const qsizetype paired = std::min(hunk.gone.size(), hunk.come.size());
    for (qsizetype line = 0; line < paired; ++line)
        rows.push_back({QString(), hunk.gone.at(line), hunk.come.at(line)});
    for (qsizetype line = paired; line < hunk.gone.size(); ++line)
        rows.push_back({QString(), hunk.gone.at(line), std::nullopt});
    for (qsizetype line = paired; line < hunk.come.size(); ++line)
        rows.push_back({QString(), std::nullopt, hunk.come.at(line)});
    hunk = {};
}

Difference RowsOf(const QStringList& before, const QStringList& after)
{
    Difference rows;
    Hunk hunk;
    qsizetype x = 0;
    qsizetype y = 0;
    for (Step step : EditScript(before, after)) {
        if (step == Step::Keep) {
            AddHunk(rows, hunk);
            ++x;
            ++y;
        } else if (step == Step::Remove) {
            hunk.gone << before.at(x++);
        } else {
            hunk.come << after.at(y++);
        }
    }
    AddHunk(rows, hunk);
    return rows;
}

} // namespace

Difference LineDifference(const QStringList& before, const QStringList& after)
{
    // The lines both versions begin and end with take no search.
    qsizetype begin = 0;
    while (begin < before.size() && begin < after.size() && before.at(begin) == after.at(begin))
        ++begin;
    qsizetype end = 0;
    while (end < before.size() - begin && end < after.size() - begin
           && before.at(before.size() - 1 - end) == after.at(after.size() - 1 - end))
        ++end;
    return RowsOf(before.mid(begin, before.size() - begin - end),
                  after.mid(begin, after.size() - begin - end));
}

std::vector<qsizetype> KeptLines(const QStringList& before, const QStringList& after)
{
    std::vector<qsizetype> kept(std::size_t(before.size()), -1);
    qsizetype begin = 0;
    for (; begin < before.size() && begin < after.size() && before.at(begin) == after.at(begin); ++begin)
        kept[std::size_t(begin)] = begin;
    qsizetype end = 0;
    for (; end < before.size() - begin && end < after.size() - begin
           && before.at(before.size() - 1 - end) == after.at(after.size() - 1 - end);
         ++end)
        kept[std::size_t(before.size() - 1 - end)] = after.size() - 1 - end;
    qsizetype x = begin;
    qsizetype y = begin;
    for (Step step : EditScript(before.mid(begin, before.size() - begin - end),
                                after.mid(begin, after.size() - begin - end))) {
        if (step == Step::Keep)
            kept[std::size_t(x)] = y;
        x += step != Step::Add;
        y += step != Step::Remove;
    }
    return kept;
}
