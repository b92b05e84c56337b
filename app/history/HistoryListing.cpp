#include "HistoryListing.h"

#include "Exceptions.h"
#include "HistoryStore.h"
#include "NamedFileKey.h"
#include "VersionRows.h"

#include <QFileInfo>

#include <functional>
#include <memory>
#include <ostream>

namespace {

const char* const Program = "tavrik-control-centre: ";

std::unique_ptr<HistoryStore> OpenToRead(const QString& databasePath, std::ostream& errors)
{
    if (!QFileInfo::exists(databasePath)) {
        errors << Program << "no history is kept yet (" << databasePath.toLocal8Bit().constData()
               << " does not exist)\n";
        return nullptr;
    }
    try {
        return std::make_unique<HistoryStore>(databasePath, HistoryStore::Access::ReadOnly);
    } catch (const Exception& failure) {
        errors << Program << failure.Message().toLocal8Bit().constData() << "\n";
        return nullptr;
    }
}

int NothingKept(const HistoryKey& key, std::ostream& errors)
{
    errors << Program << "no version of " << key.file.toLocal8Bit().constData() << " in "
           << key.gameFolder.toLocal8Bit().constData() << " is kept\n";
    return 1;
}

// Runs read on the history of the file at path; 2 when the history cannot
// be read, else what read returns.
int ReadHistoryOf(const QString& databasePath, const QString& path, std::ostream& errors,
                  const std::function<int(const HistoryStore&, const HistoryKey&)>& read)
{
    const std::unique_ptr<HistoryStore> store = OpenToRead(databasePath, errors);
    if (!store)
        return 2;
    try {
        return read(*store, HistoryKeyOfNamedFile(path));
    } catch (const Exception& failure) {
        errors << Program << failure.Message().toLocal8Bit().constData() << "\n";
        return 2;
    }
}

int ListVersions(const HistoryStore& store, const HistoryKey& key, std::ostream& out,
                 std::ostream& errors)
{
    const std::vector<StoredVersion> versions = store.Versions(key.gameFolder, key.file);
    if (versions.empty())
        return NothingKept(key, errors);
    for (const VersionRow& row : VersionRows(key.file, versions))
        out << row.number << '\t' << ExactTime(row.madeAt).toStdString() << '\t'
            << row.madeBy.toStdString() << '\t' << row.change.toStdString() << '\n';
    return 0;
}

int WriteVersion(const HistoryStore& store, const HistoryKey& key, int number, std::ostream& out,
                 std::ostream& errors)
{
    const std::optional<StoredVersion> version = store.Version(key.gameFolder, key.file, number);
    if (!version) {
        errors << Program << "there is no version " << number << " of "
               << key.file.toLocal8Bit().constData() << " in "
               << key.gameFolder.toLocal8Bit().constData() << "\n";
        return 1;
    }
    if (!version->content) {
        errors << Program << "version " << number << " of " << key.file.toLocal8Bit().constData()
               << " keeps no content: " << DescriptionOf(version->maker).toStdString()
               << (version->tooLarge ? ", larger than the history keeps" : "") << "\n";
        return 1;
    }
    out.write(version->content->constData(), version->content->size());
    return 0;
}

} // namespace

int ListHistory(const QString& databasePath, const QString& path, std::ostream& out,
                std::ostream& errors)
{
    return ReadHistoryOf(databasePath, path, errors, [&](const HistoryStore& store, const HistoryKey& key) {
        return ListVersions(store, key, out, errors);
    });
}

int ShowVersion(const QString& databasePath, const QString& path, int number, std::ostream& out,
                std::ostream& errors)
{
    return ReadHistoryOf(databasePath, path, errors, [&](const HistoryStore& store, const HistoryKey& key) {
        return WriteVersion(store, key, number, out, errors);
    });
}
