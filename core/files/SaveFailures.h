#pragma once

#include "Exceptions.h"

// A save the file layer will not make; nothing was written. The file cannot
// be written (a read-only file, folder or file system), or the content is
// more than a load reads back. The message is the one a plain save shows;
// Reason says why in words that follow "<file> was not saved: ".
class EWriteRefused : public EInOutError {
public:
    EWriteRefused(int code, QString message, QString reason);

    const QString& Reason() const noexcept { return reason_; }

private:
    QString reason_;
};

// The file is no longer what the save inspected before writing: another
// program changed, replaced or removed it in the meantime, and nothing was
// written over it.
class EChangedWhileSaving : public EInOutError {
public:
    explicit EChangedWhileSaving(QString message);
};
