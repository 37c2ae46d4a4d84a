#pragma once

#include <QString>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;
class ImageList;

// The list views as the program sees them: items at positions counted from 1,
// one selected item, a small icon number per item and check boxes.
namespace ListViews {

int count(const QTreeWidget& view);
// The item at `position`, or nullptr when there is none.
QTreeWidgetItem* item(const QTreeWidget& view, int position);
// The position of the selected item, 0 when none is selected.
int selectedPosition(const QTreeWidget& view);
QTreeWidgetItem* selectedItem(const QTreeWidget& view);
void select(QTreeWidget& view, int position);

QTreeWidgetItem* append(QTreeWidget& view, const QString& text);
// Inserts so that the new item stands at `position`.
QTreeWidgetItem* insert(QTreeWidget& view, int position, const QString& text);
void remove(QTreeWidget& view, int position);
// Appends one checked item per text, all in one go (fast for many thousands).
void appendChecked(QTreeWidget& view, const QStringList& texts);

int smallIcon(const QTreeWidgetItem& item);
void setSmallIcon(QTreeWidgetItem& item, int icon, const ImageList& images);

bool checked(const QTreeWidgetItem& item);
void setChecked(QTreeWidgetItem& item, bool checked);

} // namespace ListViews
