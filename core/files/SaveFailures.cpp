#include "SaveFailures.h"

#include <utility>

EWriteRefused::EWriteRefused(int code, QString message, QString reason)
    : EInOutError(code, std::move(message)), reason_(std::move(reason))
{
}

EChangedWhileSaving::EChangedWhileSaving(QString message) : EInOutError(5, std::move(message)) {}
