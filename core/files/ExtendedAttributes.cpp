#include "ExtendedAttributes.h"

#include <QByteArrayList>

#include <cerrno>
#include <sys/xattr.h>

namespace {

bool Unsupported(int error)
{
    return error == ENOTSUP;
}

// Calls fill(buffer, size) as the size query and again with a buffer of that
// size, until the value stops growing in between. An empty answer needs no
// second call: most files have no attribute, and every save asks.
template <typename Fill>
bool ReadSized(Fill fill, QByteArray& value)
{
    for (;;) {
        const ssize_t size = fill(nullptr, 0);
        if (size < 0)
            return false;
        value.resize(size);
        if (size == 0)
            return true;
        const ssize_t got = fill(value.data(), size_t(size));
        if (got >= 0) {
            value.truncate(got);
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

// The names of a list as listxattr gives them, each ended by a zero byte.
QByteArrayList Names(const QByteArray& list)
{
    QByteArrayList names = list.split('\0');
    names.removeAll(QByteArray());
    return names;
}

bool PathNames(const QByteArray& path, QByteArrayList& names)
{
    QByteArray list;
    if (!ReadSized([&](char* buffer, size_t size) {
            return ::llistxattr(path.constData(), buffer, size);
        }, list))
        return Unsupported(errno);
    names = Names(list);
    return true;
}

bool DescriptorNames(int descriptor, QByteArrayList& names)
{
    QByteArray list;
    if (!ReadSized([&](char* buffer, size_t size) {
            return ::flistxattr(descriptor, buffer, size);
        }, list))
        return Unsupported(errno);
    names = Names(list);
    return true;
}

// The value the open file has for name; empty with present false when none.
QByteArray DescriptorValue(int descriptor, const QByteArray& name, bool& present)
{
    QByteArray value;
    present = ReadSized([&](char* buffer, size_t size) {
        return ::fgetxattr(descriptor, name.constData(), buffer, size);
    }, value);
    return value;
}

}  // namespace

bool CopyAttributes(const QByteArray& path, int descriptor)
{
    QByteArrayList wanted;
    QByteArrayList present;
    if (!PathNames(path, wanted) || !DescriptorNames(descriptor, present))
        return false;
    // A new file may come with attributes of its own, such as an ACL from
    // its folder's default ACL.
    for (const QByteArray& name : present) {
        if (!wanted.contains(name) && ::fremovexattr(descriptor, name.constData()) != 0)
            return false;
    }
    for (const QByteArray& name : wanted) {
        QByteArray value;
        if (!ReadSized([&](char* buffer, size_t size) {
                return ::lgetxattr(path.constData(), name.constData(), buffer, size);
            }, value))
            return false;
        bool has = false;
        if (DescriptorValue(descriptor, name, has) == value && has)
            continue;
        if (::fsetxattr(descriptor, name.constData(), value.constData(), size_t(value.size()), 0)
            != 0)
            return false;
    }
    return true;
}
