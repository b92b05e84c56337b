#pragma once

#include <QString>

class QLabel;
class QWidget;

// The name a screen reader announces for a control captioned this way: the
// caption without a closing colon, its runs of blanks (which only line up
// the page's columns) read as one.
QString AccessibleNameOfCaption(const QString& caption);

// Ties a label to the control it describes: the label becomes its buddy and
// the control takes the label's text as its accessible name.
void LabelControl(QLabel& label, QWidget& control);

// Lets screen readers read a bounded integer field as the spin field it is,
// with its value and range; needs the application object.
void InstallAccessibleValueFields();

// Lets screen readers hear which page's tab is shown, and the focus only
// where it is; needs the application object.
void InstallAccessiblePageTabs();

// Lets screen readers read a check list's entries as check boxes, with their
// marks; needs the application object.
void InstallAccessibleCheckLists();

// Lets screen readers hear an editable selector's text part as the one
// focused control; needs the application object.
void InstallAccessibleDropDownSelectors();
