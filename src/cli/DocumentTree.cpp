#include "cli/DocumentTree.h"

#include "engine/files/LocalFileName.h"
#include "platform/FileSystem.h"
#include "sources/DocumentNames.h"

#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct FolderCloser {
    void operator()(DIR* folder) const { closedir(folder); }
};

// The visible sub-folders of `folder`, sorted; links are left out. False when the
// listing failed.
bool subfolders(const QString& folder, QStringList& names)
{
    const std::unique_ptr<DIR, FolderCloser> handle(opendir(LocalFileName::encode(folder).constData()));
    if (!handle)
        return false;
    const int descriptor = dirfd(handle.get());
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(handle.get());
        if (!entry)
            break;
        if (entry->d_name[0] == '.')
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_UNKNOWN) {
            struct stat status {};
            isFolder = fstatat(descriptor, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0
                       && S_ISDIR(status.st_mode);
        }
        if (isFolder)
            names.append(LocalFileName::decode(QByteArray(entry->d_name)));
    }
    const bool complete = errno == 0;
    DocumentNames::sortIgnoringCase(names);
    return complete;
}

void addFolder(const QString& folder, const QString& subfolder, bool recursive, DocumentTree& tree)
{
    FileSystem::Listing listing = FileSystem::plainFiles(folder, &DocumentNames::isWordDocument);
    if (!listing.complete)
        tree.incompleteFolders.append(folder);
    DocumentNames::sortIgnoringCase(listing.names);
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    for (const QString& name : std::as_const(listing.names))
        tree.documents.append({prefix + name, name, subfolder});
    if (!recursive)
        return;
    QStringList names;
    if (!subfolders(folder, names))
        tree.incompleteFolders.append(folder);
    for (const QString& name : std::as_const(names))
        addFolder(prefix + name, subfolder.isEmpty() ? name : subfolder + QLatin1Char('/') + name, true, tree);
}

} // namespace

DocumentTree findDocuments(const QStringList& sources, bool recursive)
{
    DocumentTree tree;
    for (const QString& source : sources) {
        if (FileSystem::kindOf(source) == FileSystem::EntryKind::Folder)
            addFolder(source, {}, recursive, tree);
        else
            tree.documents.append({source, FileSystem::lastName(source), {}});
    }
    tree.incompleteFolders.removeDuplicates();
    return tree;
}
