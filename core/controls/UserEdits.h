#pragma once

#include <QObject>

#include <functional>

class QWidget;

// Tells a page that the user changed the value of one of its controls. The
// value controls report every change the user makes, never the program's own
// sets; the report reaches every PageEdits placed on a widget around the
// control (a page, the window), the nearest first.
class PageEdits : public QObject {
    Q_OBJECT

public:
    explicit PageEdits(QWidget& page);

    // Told the control that changed; it must not fail.
    std::function<void(QWidget& control)> OnUserEdit;
};

// Called by a value control when the user has changed its value.
void NoteUserEdit(QWidget& control);
