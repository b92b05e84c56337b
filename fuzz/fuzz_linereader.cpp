// Reads any bytes as a line text file and compares the lines with the
// reading rules: a line ends at CR LF, at a CR alone or at an LF alone, a
// Ctrl-Z ends the file, a final line end adds no line, and reading past the
// end gives empty lines.

#include "Bytes.h"
#include "FuzzCheck.h"
#include "LineFile.h"
#include "ScratchFolder.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

QStringList LinesByTheRules(const QByteArray& bytes)
{
    const qsizetype endMark = bytes.indexOf('\x1a');
    const QByteArray content = endMark < 0 ? bytes : bytes.left(endMark);
    QStringList lines;
    qsizetype at = 0;
    while (at < content.size()) {
        qsizetype lineEnd = at;
        while (lineEnd < content.size() && content.at(lineEnd) != '\r'
               && content.at(lineEnd) != '\n')
            ++lineEnd;
        lines << BytesToText(content.mid(at, lineEnd - at));
        if (lineEnd == content.size())
            break;
        at = lineEnd + 1;
        if (content.at(lineEnd) == '\r' && at < content.size() && content.at(at) == '\n')
            ++at;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argumentCount, char*** arguments)
{
    EnterScratchFolder(*argumentCount, *arguments);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString path = QStringLiteral("lines.txt");
    PutFile(path, bytes);

    LineFile file = OpenForReading(path);
    QStringList lines;
    while (!AtEndOfFile(file))
        lines << ReadTextLine(file);
    const QString pastTheEnd = ReadTextLine(file) + ReadTextLine(file);
    const bool stillAtTheEnd = AtEndOfFile(file);
    CloseLineFile(file);

    const QStringList expected = LinesByTheRules(bytes);
    Require(lines == expected, "the lines read are the file's lines by the reading rules",
            Shown(bytes) + QStringLiteral("\nread: ") + lines.join(QStringLiteral(" | "))
                + QStringLiteral("\nexpected: ") + expected.join(QStringLiteral(" | ")));
    Require(pastTheEnd.isEmpty() && stillAtTheEnd, "reading past the end gives empty lines",
            Shown(bytes));
    return 0;
}
