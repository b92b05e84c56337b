#include "AccessibleNames.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

QString AccessibleNameOfCaption(const QString& caption)
{
    QString name = caption.simplified();
    if (name.endsWith(QLatin1Char(':')))
        name.chop(1);
    return name.trimmed();
}

void LabelControl(QLabel& label, QWidget& control)
{
    label.setBuddy(&control);
    const QString name = AccessibleNameOfCaption(label.text());
    control.setAccessibleName(name);
    // On Linux Qt names a selector by its text and leaves the label to the
    // buddy relation; its text part and its list take the focus themselves.
    if (auto* selector = qobject_cast<QComboBox*>(&control)) {
        if (QLineEdit* text = selector->lineEdit())
            text->setAccessibleName(name);
        selector->view()->setAccessibleName(name);
    }
}
