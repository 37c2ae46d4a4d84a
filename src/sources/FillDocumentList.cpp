#include "app/Module1.h"
#include "app/form1.h"

#include <QTreeWidget>

namespace Module1 {

void FillDocumentList(form1& window, const QString& path)
{
    Q_UNUSED(path);
    window.ListView2->clear();
}

} // namespace Module1
