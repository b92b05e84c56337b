#include "LineFileTestCase.h"

#include "Bytes.h"
#include "LineFile.h"
#include "LineFileProbe.h"
#include "RawFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTest>

QString Expanded(QString text, const QString& file, const QString& copy, const QString& cache)
{
    return text.replace(QLatin1String("{file}"), file)
        .replace(QLatin1String("{copy}"), copy)
        .replace(QLatin1String("{cache}"), cache);
}

void WriteThroughLayer(const QString& path, const QByteArray& bytes)
{
    LineFile file = CreateForWriting(path);
    WritePlainText(file, BytesToText(bytes));
    CloseLineFile(file);
}

QByteArrayList ReadThroughLayer(const QString& path)
{
    QByteArrayList lines;
    LineFile file = OpenForReading(path);
    while (!AtEndOfFile(file))
        lines << ReadTextLine(file).toLatin1();
    CloseLineFile(file);
    return lines;
}

QString LineFileTestCase::NewFolder()
{
    const QString path = scratch_.filePath(QStringLiteral("f%1").arg(++folderCount_));
    if (!QDir().mkdir(path))
        return QString();
    return path;
}

void LineFileTestCase::initTestCase()
{
    QVERIFY(scratch_.isValid());
    // A child that runs as "nobody" must reach the folders below and the
    // probe.
    QVERIFY(SetMode(scratch_.path(), 0755));
    // Copies of files rewritten in place may go to the cache folder, which
    // must be one the child user may write.
    const QString cache = scratch_.filePath(QStringLiteral("cache"));
    QVERIFY(QDir().mkdir(cache));
    QVERIFY(SetMode(cache, 0777));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
    ProbePath() = scratch_.filePath(QStringLiteral("linefile_probe"));
    QVERIFY2(QFile::copy(BuiltProbePath(), ProbePath()), qPrintable(BuiltProbePath()));
    QVERIFY(SetMode(ProbePath(), 0755));
}

void LineFileTestCase::cleanupTestCase()
{
    // A failed case may have left a folder closed; open them all so that the
    // scratch folder can be removed.
    QDirIterator folders(scratch_.path(), QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    SetMode(scratch_.path(), 0755);
    while (folders.hasNext()) {
        const QString folder = folders.next();
        if (!QFileInfo(folder).isSymLink())
            SetMode(folder, 0755);
    }
}
