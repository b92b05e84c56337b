// Reads any bytes as a line text file and compares the lines with the
// reading rules: a line ends at CR LF, at a CR alone or at an LF alone, a
// Ctrl-Z ends the file, a final line end adds no line, and reading past the
// end gives empty lines.

#include "Bytes.h"
#include "FileLines.h"
#include "FuzzCheck.h"
#include "LineFile.h"
#include "ScratchFolder.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

QStringList LineTexts(const QByteArray& bytes)
{
    QStringList texts;
    for (const FileLine& line : LinesByTheRules(bytes).lines)
        texts << BytesToText(line.text);
    return texts;
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

    const QStringList expected = LineTexts(bytes);
    Require(lines == expected, "the lines read are the file's lines by the reading rules",
            Shown(bytes) + QStringLiteral("\nread: ") + lines.join(QStringLiteral(" | "))
                + QStringLiteral("\nexpected: ") + expected.join(QStringLiteral(" | ")));
    Require(pastTheEnd.isEmpty() && stillAtTheEnd, "reading past the end gives empty lines",
            Shown(bytes));
    return 0;
}
