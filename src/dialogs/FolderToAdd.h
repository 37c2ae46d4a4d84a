#pragma once

#include <QString>

class QWidget;
struct Platform;

// Asks for a folder, under the title that both folder commands show. Returns ""
// when the user cancelled or the dialog gave no path.
QString askForFolderToAdd(const Platform& platform, QWidget* owner);
