#include "LineEnds.h"

std::optional<LineEnds> LineEndsOf(QByteArrayView bytes)
{
    const qsizetype endMark = bytes.indexOf('\x1a');
    const QByteArrayView data = endMark < 0 ? bytes : bytes.first(endMark);
    if (data.contains('\r'))
        return LineEnds::CrLf;
    if (data.contains('\n'))
        return LineEnds::LfAlone;
    return std::nullopt;
}

QByteArrayView LineEndBytes(LineEnds ends)
{
    return ends == LineEnds::LfAlone ? QByteArrayView("\n") : QByteArrayView("\r\n");
}
