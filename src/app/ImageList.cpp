#include "app/ImageList.h"

#include <QApplication>
#include <QStyle>

ImageList::ImageList()
{
    QStyle* style = QApplication::style();
    icons = {style->standardIcon(QStyle::SP_FileIcon), style->standardIcon(QStyle::SP_DirIcon),
             style->standardIcon(QStyle::SP_MessageBoxQuestion)};
}

QIcon ImageList::ListImages(int index) const
{
    if (index < 1 || index > Count)
        return {};
    return icons[static_cast<size_t>(index - 1)];
}
