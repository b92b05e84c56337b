#include "PathWrapping.h"

namespace {

constexpr QChar WordJoiner(0x2060);

void AppendPath(QString& text, QStringView path)
{
    bool slashSeen = false;
    for (qsizetype at = 0; at < path.size(); ++at) {
        text += path[at];
        const bool breaksAfter = path[at] == u'/' && slashSeen;
        slashSeen = slashSeen || path[at] == u'/';
        if (!breaksAfter && at + 1 < path.size())
            text += WordJoiner;
    }
}

} // namespace

QString WithPathsUnbroken(const QString& text)
{
    QString unbroken;
    unbroken.reserve(text.size() * 2);
    qsizetype at = 0;
    while (at < text.size()) {
        if (text[at].isSpace()) {
            unbroken += text[at++];
            continue;
        }
        qsizetype end = at;
        while (end < text.size() && !text[end].isSpace())
            ++end;
        const QStringView word = QStringView(text).mid(at, end - at);
        if (word.contains(u'/'))
            AppendPath(unbroken, word);
        else
            unbroken += word;
        at = end;
    }
    return unbroken;
}
