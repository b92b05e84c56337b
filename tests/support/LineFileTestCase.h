#pragma once

#include "Exceptions.h"

#include <QByteArrayList>
#include <QObject>
#include <QString>
#include <QTemporaryDir>

// What the tests of the line file layer share: a scratch folder that the
// probe's child user may enter, the probe's copy in it, a cache folder of its
// own, and the outcomes of operations in the probe's wording.

// "ok", "EInOutError <code> <message>" or "Exception <message>": the same
// wording as the probe's last output line.
template <typename Operation>
QString Outcome(Operation&& operation)
{
    try {
        operation();
        return QStringLiteral("ok");
    } catch (const EInOutError& failure) {
        return QStringLiteral("EInOutError %1 %2").arg(failure.ErrorCode()).arg(failure.Message());
    } catch (const Exception& failure) {
        return QStringLiteral("Exception ") + failure.Message();
    }
}

inline const QString FileNotFound = QStringLiteral("EInOutError 2 File not found");
inline const QString InvalidFilename = QStringLiteral("EInOutError 3 Invalid filename");
inline const QString TooManyOpenFiles = QStringLiteral("EInOutError 4 Too many open files");
inline const QString AccessDenied = QStringLiteral("EInOutError 5 File access denied");
inline const QString DiskFull = QStringLiteral("EInOutError 112 I/O error 112");
inline const QString AlreadyExists = QStringLiteral("EInOutError 183 I/O error 183");
inline const QString InjectedIoError = QStringLiteral("EInOutError 5 I/O error 5");
// {file} the file saved, {copy} the copy of its old content, {cache} the
// cache folder (see Expanded).
inline const QString DamagedBesideCopy =
    QStringLiteral("EInOutError 5 {file} could not be saved (I/O error 5), and its old content "
                   "could not be put back either: the file may be damaged. Its old content is "
                   "kept in {copy}");
inline const QString NoPlaceForCopy =
    QStringLiteral("EInOutError 5 {file} was not saved: a copy of its old content could be kept "
                   "neither beside it nor in the cache folder {cache} (File access denied)");
inline const QString UnreadableInPlace =
    QStringLiteral("EInOutError 5 {file} was not saved: it can only be rewritten where it is, and "
                   "its old content cannot be read to keep a copy of it in the meantime");

QString Expanded(QString text, const QString& file, const QString& copy = QString(),
                 const QString& cache = QString());

void WriteThroughLayer(const QString& path, const QByteArray& bytes);
// Every line up to the end-of-file test, as bytes.
QByteArrayList ReadThroughLayer(const QString& path);

// The base of each test program of the layer; its slots prepare and clear
// the scratch folder around the program's own cases.
class LineFileTestCase : public QObject {
    Q_OBJECT

protected:
    // A fresh empty folder per use, inside the scratch folder.
    QString NewFolder();
    QString ScratchPath() const { return scratch_.path(); }

private slots:
    void initTestCase();
    void cleanupTestCase();

private:
    QTemporaryDir scratch_;
    int folderCount_ = 0;
};
