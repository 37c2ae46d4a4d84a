#pragma once

#include <QString>

class MainWindow;

// The document list shows the Word documents of the selected source.

// Fills the document list with the documents of one source, all checked.
void fillDocumentList(MainWindow& window, const QString& path);

// The full path of the document at `row` (from 1) of the document list, "" when there
// is none or it is no longer a visible file.
QString documentPathAt(const MainWindow& window, int row);
