// Writes lines made from any bytes and reads them back: lines without a CR,
// an LF or a Ctrl-Z come back exactly as written, the file holds each of them
// followed by the line end it was written with (CR LF, or LF alone for an
// input of odd length), its line ends read as that style, and a write that
// is never closed leaves the file as it was.

#include "Bytes.h"
#include "FuzzCheck.h"
#include "LineFile.h"
#include "ScratchFolder.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

// The input cut at every CR, LF and Ctrl-Z, the bytes a line cannot hold.
QStringList LinesOf(QByteArray bytes)
{
    bytes.replace('\x1a', '\r').replace('\n', '\r');
    QStringList lines;
    for (const QByteArray& line : bytes.split('\r'))
        lines << BytesToText(line);
    return lines;
}

void WriteLines(const QString& path, const QStringList& lines, LineEnds ends)
{
    LineFile file = CreateForWriting(path, ends);
    for (const QString& line : lines)
        WriteTextLine(file, line);
    CloseLineFile(file);
}

QStringList ReadLines(const QString& path)
{
    LineFile file = OpenForReading(path);
    QStringList lines;
    while (!AtEndOfFile(file))
        lines << ReadTextLine(file);
    CloseLineFile(file);
    return lines;
}

void AbandonWrite(const QString& path, const QStringList& lines)
{
    LineFile file = CreateForWriting(path);
    WritePlainText(file, lines.join(QStringLiteral("\n")));
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
    const QStringList lines = LinesOf(bytes);
    const QString path = QStringLiteral("roundtrip.txt");
    const LineEnds ends = size % 2 == 1 ? LineEnds::LfAlone : LineEnds::CrLf;
    const QString lineEnd = ends == LineEnds::LfAlone ? QStringLiteral("\n") : QStringLiteral("\r\n");

    WriteLines(path, lines, ends);
    const QByteArray written = FileBytes(path);
    Require(written == (lines.join(lineEnd) + lineEnd).toLatin1(),
            "the file holds every line followed by its line end", Shown(bytes));
    Require(ReadLines(path) == lines, "lines written read back unchanged", Shown(bytes));
    Require(LineEndsOf(written) == ends, "a file's line ends read as those it was written with",
            Shown(bytes));

    AbandonWrite(path, lines);
    Require(FileBytes(path) == written, "a write that is not closed leaves the file as it was",
            Shown(bytes));
    return 0;
}
