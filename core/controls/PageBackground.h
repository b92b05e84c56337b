#pragma once

#include "ControlEvents.h"

#include <QObject>
#include <QPointer>

class QWidget;

// Reports pointer movement over a page's own background: the uncovered area
// of the page and anything disabled on it (controls and captions that take no
// pointer input of their own). Movement over enabled controls and labels, and
// over the tab headers, belongs to them and is not reported.
//
// Qt delivers a movement to the widget under the pointer, disabled or not, and
// never passes it on to the page, so the watcher looks at every movement the
// application delivers and decides by its receiver.
class PageBackground : public QObject {
    Q_OBJECT

public:
    explicit PageBackground(QWidget& page);
    ~PageBackground() override;

    ControlEvent OnMouseMove;

    // True when a movement delivered to this receiver counts as the page's.
    static bool IsBackgroundOf(const QWidget& page, const QWidget& receiver);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QWidget> page_;
};
