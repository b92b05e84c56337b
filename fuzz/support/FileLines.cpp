#include "FileLines.h"

FileLines LinesByTheRules(const QByteArray& bytes)
{
    const qsizetype endMark = bytes.indexOf('\x1a');
    const QByteArray content = endMark < 0 ? bytes : bytes.left(endMark);
    FileLines file{{}, endMark < 0 ? QByteArray() : bytes.mid(endMark)};
    qsizetype at = 0;
    while (at < content.size()) {
        qsizetype lineEnd = at;
        while (lineEnd < content.size() && content.at(lineEnd) != '\r'
               && content.at(lineEnd) != '\n')
            ++lineEnd;
        qsizetype next = lineEnd;
        if (next < content.size()) {
            ++next;
            if (content.at(lineEnd) == '\r' && next < content.size() && content.at(next) == '\n')
                ++next;
        }
        file.lines.append({content.mid(at, lineEnd - at), content.mid(lineEnd, next - lineEnd)});
        at = next;
    }
    return file;
}
