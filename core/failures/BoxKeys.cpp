#include "BoxKeys.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QSet>

namespace {

// Sees every key event of the application; a key event that travels up to
// the parents of its receiver is seen again, which the sets absorb.
class BoxKeyWatch : public QObject {
public:
    BoxKeyWatch() { qApp->installEventFilter(this); }

    void BoxOpens() { ++openBoxes_; }

    void BoxCloses()
    {
        if (--openBoxes_ == 0) {
            heldFromBox_ += pressedInBox_;
            pressedInBox_.clear();
        }
    }

    bool TakeRelease(int key) { return heldFromBox_.remove(key); }

protected:
    bool eventFilter(QObject* receiver, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)
            Note(*static_cast<QKeyEvent*>(event));
        return QObject::eventFilter(receiver, event);
    }

private:
    void Note(const QKeyEvent& event)
    {
        if (event.isAutoRepeat())
            return;
        const bool press = event.type() == QEvent::KeyPress;
        if (openBoxes_ > 0 && press)
            pressedInBox_.insert(event.key());
        else if (openBoxes_ > 0)
            pressedInBox_.remove(event.key());
        else if (press)
            heldFromBox_.remove(event.key());
    }

    int openBoxes_ = 0;
    QSet<int> pressedInBox_;
    QSet<int> heldFromBox_;
};

BoxKeyWatch& Watch()
{
    static BoxKeyWatch watch;
    return watch;
}

} // namespace

void ExecuteBoxNotingHeldKeys(QDialog& box)
{
    BoxKeyWatch& watch = Watch();
    watch.BoxOpens();
    box.exec();
    watch.BoxCloses();
}

bool TakeReleaseOfBoxKey(int key)
{
    return Watch().TakeRelease(key);
}
