#include "SystemErrors.h"

#include <cerrno>

EInOutError InOutErrorFromErrno(int errorNumber, MissingEntry missing)
{
    switch (errorNumber) {
    case ENOENT:
        return EInOutError(missing == MissingEntry::File ? 2 : 3);
    case ENOTDIR:
        return EInOutError(3);
    case EMFILE:
    case ENFILE:
        return EInOutError(4);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return EInOutError(5);
    case ETXTBSY:
    case EBUSY:
        return EInOutError(32);
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return EInOutError(112);
    case EEXIST:
        return EInOutError(183);
    default:
        return EInOutError(errorNumber, QStringLiteral("I/O error %1").arg(errorNumber));
    }
}
