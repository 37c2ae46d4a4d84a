#include "app/ListViews.h"

#include "app/ImageList.h"

#include <QTreeWidget>
#include <memory>
#include <vector>

namespace {
constexpr int SmallIconRole = Qt::UserRole + 1;
}

namespace ListViews {

int count(const QTreeWidget& view)
{
    return view.topLevelItemCount();
}

QTreeWidgetItem* item(const QTreeWidget& view, int position)
{
    if (position < 1 || position > view.topLevelItemCount())
        return nullptr;
    return view.topLevelItem(position - 1);
}

int selectedPosition(const QTreeWidget& view)
{
    const QList<QTreeWidgetItem*> selected = view.selectedItems();
    if (selected.isEmpty())
        return 0;
    return view.indexOfTopLevelItem(selected.constFirst()) + 1;
}

QTreeWidgetItem* selectedItem(const QTreeWidget& view)
{
    return item(view, selectedPosition(view));
}

void select(QTreeWidget& view, int position)
{
    QTreeWidgetItem* target = item(view, position);
    if (!target)
        return;
    view.setCurrentItem(target);
    target->setSelected(true);
}

QTreeWidgetItem* append(QTreeWidget& view, const QString& text)
{
    return insert(view, view.topLevelItemCount() + 1, text);
}

QTreeWidgetItem* insert(QTreeWidget& view, int position, const QString& text)
{
    auto created = std::make_unique<QTreeWidgetItem>(QStringList{text});
    created->setFlags(created->flags() & ~Qt::ItemIsEditable);
    QTreeWidgetItem* added = created.get();
    view.insertTopLevelItem(position - 1, created.release()); // the view owns it now
    return added;
}

void remove(QTreeWidget& view, int position)
{
    if (position < 1 || position > view.topLevelItemCount())
        return;
    std::unique_ptr<QTreeWidgetItem> removed(view.takeTopLevelItem(position - 1));
}

void appendChecked(QTreeWidget& view, const QStringList& texts)
{
    std::vector<std::unique_ptr<QTreeWidgetItem>> created;
    created.reserve(static_cast<size_t>(texts.size()));
    QList<QTreeWidgetItem*> items;
    items.reserve(texts.size());
    for (const QString& text : texts) {
        auto& item = created.emplace_back(std::make_unique<QTreeWidgetItem>(QStringList{text}));
        item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        item->setCheckState(0, Qt::Checked);
        items.append(item.get());
    }
    view.addTopLevelItems(items);
    for (auto& item : created)
        item.release(); // the view owns them now
}

int smallIcon(const QTreeWidgetItem& item)
{
    return item.data(0, SmallIconRole).toInt();
}

void setSmallIcon(QTreeWidgetItem& item, int icon, const ImageList& images)
{
    item.setData(0, SmallIconRole, icon);
    item.setIcon(0, images.ListImages(icon));
}

bool checked(const QTreeWidgetItem& item)
{
    return item.checkState(0) == Qt::Checked;
}

void setChecked(QTreeWidgetItem& item, bool isChecked)
{
    item.setCheckState(0, isChecked ? Qt::Checked : Qt::Unchecked);
}

} // namespace ListViews
