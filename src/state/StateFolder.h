#pragma once

#include <QString>
#include <optional>

namespace StateFile {

// An installed program keeps each user's state files in the user's own configuration
// folder. This makes that folder (readable by its owner only) when it is missing and
// gives it each of set.txt, EXCEL.txt and output.txt that it lacks, with the content of
// the file of that name in `defaultsFolder` (the package's defaults; empty where there is
// none). Files that exist are never touched. Returns the reason when the folder or a
// file could not be made; the program then runs with what there is (a missing file
// reads as empty).
std::optional<QString> prepareFolder(const QString& folder, const QString& defaultsFolder);

} // namespace StateFile
