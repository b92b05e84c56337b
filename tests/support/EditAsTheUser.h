#pragma once

#include "BoundedIntegerField.h"
#include "CheckBoxControl.h"
#include "TextArea.h"
#include "TextField.h"
#include "main.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QString>
#include <QtTest>

// An edit that no trigger saves, made on a page of the main window as the
// user makes it: a typed name ("personality"), a skill set by a screen
// reader ("screen reader"), Courage stepped with the Up key ("arrow key"), a
// chat line begun with keys pressed and not yet released ("chat"), a box
// toggled with Space ("bot.cfg"). Only programs that link
// the program's window modules use it.
inline void EditAsTheUser(TMainForm& form, const QString& page)
{
    if (page == "personality")
        QTest::keyClicks(form.Name, "x");
    else if (page == "screen reader")
        QAccessible::queryAccessibleInterface(form.Skill)->valueInterface()->setCurrentValue(4);
    else if (page == "arrow key")
        QTest::keyClick(form.Courage, Qt::Key_Up);
    else if (page == "chat")
        for (Qt::Key key : {Qt::Key_X, Qt::Key_Return})
            QTest::keyPress(form.ChatEditMemo, key);
    else
        QTest::keyClick(form.DiscoModeCheckBox, Qt::Key_Space);
}
