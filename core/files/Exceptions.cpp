#include "Exceptions.h"

#include <utility>

Exception::Exception(QString message)
    : message_(std::move(message)), utf8_(message_.toUtf8())
{
}

void Exception::TellFile(const QString& path)
{
    if (file_.isEmpty())
        file_ = path;
}

EInOutError::EInOutError(int code) : EInOutError(code, MessageForCode(code)) {}

EInOutError::EInOutError(int code, QString message)
    : Exception(std::move(message)), code_(code)
{
}

QString EInOutError::MessageForCode(int code)
{
    switch (code) {
    case 2: return QStringLiteral("File not found");
    case 3: return QStringLiteral("Invalid filename");
    case 4: return QStringLiteral("Too many open files");
    case 5: return QStringLiteral("File access denied");
    case 100: return QStringLiteral("Read beyond end of file");
    case 101: return QStringLiteral("Disk full");
    case 106: return QStringLiteral("Invalid numeric input");
    default: return QStringLiteral("I/O error %1").arg(code);
    }
}

EConvertError::EConvertError(const QString& text)
    : Exception(QStringLiteral("'%1' is not a valid integer value").arg(text))
{
}

EListError::EListError(int index)
    : Exception(QStringLiteral("List index out of bounds (%1)").arg(index))
{
}
