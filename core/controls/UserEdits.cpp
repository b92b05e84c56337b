#include "UserEdits.h"

#include <QWidget>

PageEdits::PageEdits(QWidget& page) : QObject(&page) {}

void NoteUserEdit(QWidget& control)
{
    for (QWidget* widget = &control; widget != nullptr; widget = widget->parentWidget()) {
        for (PageEdits* edits :
             widget->findChildren<PageEdits*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (edits->OnUserEdit)
                edits->OnUserEdit(control);
        }
    }
}
