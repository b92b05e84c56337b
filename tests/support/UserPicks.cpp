#include "UserPicks.h"

#include "DropDownSelector.h"

#include <QtTest>

void PickWithKeyboard(DropDownSelector& selector, int index)
{
    selector.SetSelectedIndex(index - 1);
    selector.setFocus();
    QTest::keyClick(&selector, Qt::Key_Down);
}
