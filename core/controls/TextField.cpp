#include "TextField.h"

#include "ControlEventRaising.h"

#include <limits>

TextField::TextField(QWidget* parent) : ChangeReportingLineEdit(parent)
{
    setMaxLength(std::numeric_limits<int>::max());
}

void TextField::keyReleaseEvent(QKeyEvent* event)
{
    ChangeReportingLineEdit::keyReleaseEvent(event);
    RaiseKeyUpEvent(*event, OnKeyUp);
}
