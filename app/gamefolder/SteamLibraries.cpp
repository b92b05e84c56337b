#include "SteamLibraries.h"

#include "ModFolders.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

// Far more than any list of libraries needs; a larger file is read this far.
constexpr qint64 LongestListRead = 1 << 20;

struct Token {
    enum class Kind { Text, Open, Close };
    Kind kind;
    QByteArray text;
};

// Splits the text into quoted or bare words and braces. Conditions in
// brackets ("[$WIN32]") and comments are passed over; an unfinished quote
// ends the text.
class Tokens {
public:
    explicit Tokens(const QByteArray& text) : text_(text) {}

    std::optional<Token> Next()
    {
        SkipBlanksAndComments();
        if (at_ >= text_.size())
            return std::nullopt;
        const char first = text_[at_];
        if (first == '{' || first == '}') {
            ++at_;
            return Token{first == '{' ? Token::Kind::Open : Token::Kind::Close, {}};
        }
        if (first == '"')
            return Quoted();
        const QByteArray word = Bare();
        if (word.startsWith('['))
            return Next();
        return Token{Token::Kind::Text, word};
    }

private:
    void SkipBlanksAndComments()
    {
        while (at_ < text_.size()) {
            if (text_.mid(at_, 2) == "//") {
                const qsizetype end = text_.indexOf('\n', at_);
                at_ = end < 0 ? text_.size() : end;
            } else if (QChar::isSpace(uchar(text_[at_]))) {
                ++at_;
            } else {
                return;
            }
        }
    }

    std::optional<Token> Quoted()
    {
        QByteArray word;
        for (++at_; at_ < text_.size(); ++at_) {
            char character = text_[at_];
            if (character == '"') {
                ++at_;
                return Token{Token::Kind::Text, word};
            }
            if (character == '\\' && at_ + 1 < text_.size())
                character = Unescaped(text_[++at_]);
            word += character;
        }
        return std::nullopt;
    }

    static char Unescaped(char escaped)
    {
        switch (escaped) {
        case 'n':
            return '\n';
        case 't':
            return '\t';
        default:
            return escaped;
        }
    }

    QByteArray Bare()
    {
        const qsizetype start = at_;
        while (at_ < text_.size() && !QChar::isSpace(uchar(text_[at_]))
               && !QByteArrayView("{}\"").contains(text_[at_]))
            ++at_;
        return text_.mid(start, at_ - start);
    }

    const QByteArray& text_;
    qsizetype at_ = 0;
};

bool IsNumber(const QByteArray& key)
{
    return !key.isEmpty() && std::all_of(key.begin(), key.end(), [](char c) {
        return c >= '0' && c <= '9';
    });
}

// A library's path in either layout: directly under a numbered key of the
// list, or as "path" inside a numbered entry.
bool IsLibraryPath(const std::vector<QByteArray>& blocks, const QByteArray& key)
{
    if (blocks.empty() || blocks.front().compare("libraryfolders", Qt::CaseInsensitive) != 0)
        return false;
    if (blocks.size() == 1)
        return IsNumber(key);
    return blocks.size() == 2 && IsNumber(blocks.back())
           && key.compare("path", Qt::CaseInsensitive) == 0;
}

QByteArray ListOfLibraries(const QString& steamRoot)
{
    QFile file(steamRoot + QStringLiteral("/steamapps/libraryfolders.vdf"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(LongestListRead);
}

} // namespace

QStringList LibraryFolderPaths(const QByteArray& vdfText)
{
    QStringList paths;
    std::vector<QByteArray> blocks;
    Tokens tokens(vdfText);
    while (const std::optional<Token> key = tokens.Next()) {
        if (key->kind == Token::Kind::Close) {
            if (!blocks.empty())
                blocks.pop_back();
            continue;
        }
        if (key->kind == Token::Kind::Open)
            continue;
        const std::optional<Token> value = tokens.Next();
        if (!value)
            break;
        if (value->kind == Token::Kind::Close && !blocks.empty())
            blocks.pop_back();
        else if (value->kind == Token::Kind::Open)
            blocks.push_back(key->text);
        else if (IsLibraryPath(blocks, key->text) && !value->text.isEmpty())
            paths << QFile::decodeName(value->text);
    }
    return paths;
}

QStringList SteamGameFolders(const QString& home)
{
    QStringList libraries;
    // ~/.steam/root and ~/.steam/steam are Steam's links to its folder; a
    // home may hold only one of them.
    for (const char* root : {"/.steam/root", "/.steam/steam", "/.local/share/Steam",
                             "/.var/app/com.valvesoftware.Steam/.local/share/Steam",
                             "/snap/steam/common/.local/share/Steam"}) {
        const QString steam = home + QLatin1String(root);
        libraries << steam;
        for (const QString& listed : LibraryFolderPaths(ListOfLibraries(steam)))
            if (QFileInfo(listed).isAbsolute())
                libraries << listed;
    }
    QStringList found;
    for (const QString& library : libraries) {
        const QString folder =
            QFileInfo(library + QStringLiteral("/steamapps/common/Half-Life")).canonicalFilePath();
        if (!folder.isEmpty() && !found.contains(folder) && HoldsAModFolder(folder))
            found << folder;
    }
    return found;
}
