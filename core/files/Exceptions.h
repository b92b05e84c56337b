#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// Every failure the program raises derives from Exception and carries the
// message the error box shows.
class Exception : public std::exception {
public:
    explicit Exception(QString message);

    const QString& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

    // The file the failure is about, as the pages name files; empty when
    // none was told. The first one told stays: it comes from the innermost
    // operation, the one that failed.
    const QString& File() const noexcept { return file_; }
    void TellFile(const QString& path);

private:
    QString message_;
    QByteArray utf8_;
    QString file_;
};

// Runs operation, telling a failure that leaves it that it is about the file
// at path.
template <typename Operation>
decltype(auto) ForFile(const QString& path, Operation&& operation)
{
    try {
        return operation();
    } catch (Exception& failure) {
        failure.TellFile(path);
        throw;
    }
}

// A failed file operation. The code follows the Win32 numbering (2 file not
// found, 3 path not found, 5 access denied, 183 already exists, ...).
class EInOutError : public Exception {
public:
    explicit EInOutError(int code);
    EInOutError(int code, QString message);

    int ErrorCode() const noexcept { return code_; }

    // The message the code table gives for a code.
    static QString MessageForCode(int code);

private:
    int code_;
};

// A text that is not an integer.
class EConvertError : public Exception {
public:
    explicit EConvertError(const QString& text);
};

// An entry index outside a list.
class EListError : public Exception {
public:
    explicit EListError(int index);
};
