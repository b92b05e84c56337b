#include "UserEdits.h"

#include <QWidget>

PageEdits::PageEdits(QWidget& page) : QObject(&page) {}

void NoteUserEdit(QWidget& control)
{
    for (QWidget* widget = &control; widget != nullptr; widget = widget->parentWidget()) {
        auto* edits = widget->findChild<PageEdits*>(QString(), Qt::FindDirectChildrenOnly);
        if (edits != nullptr && edits->OnUserEdit)
            edits->OnUserEdit(control);
    }
}
