#include "KeptCopyNotice.h"

#include "Failures.h"
#include "SaveLeftovers.h"

#include <QFile>

void TellOfKeptCopies(const QString& path)
{
    for (const QByteArray& copy : UntoldKeptCopies(QFile::encodeName(path))) {
        // Told before the box, whose own event loop may load the file again.
        CopyWasTold(copy);
        ShowNotice(QStringLiteral("An earlier save of %1 did not complete. A copy of its content "
                                  "from before that save is kept in %2; it stays there until you "
                                  "remove it.")
                       .arg(path, QFile::decodeName(copy)));
    }
}
