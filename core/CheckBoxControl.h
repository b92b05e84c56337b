#pragma once

#include "CheckState.h"
#include "ControlEvents.h"

#include <QCheckBox>

// A check box with its caption left of the box. OnClick runs for every change
// of State: inside the set call when the program changes it, through the
// failure guard when the user clicks. The program may set cbGrayed; the user
// toggles between checked and unchecked only.
class CheckBoxControl : public QCheckBox {
    Q_OBJECT

public:
    explicit CheckBoxControl(const QString& caption = QString(), QWidget* parent = nullptr);

    CheckState State() const { return FromQtCheckState(checkState()); }
    void SetState(CheckState state);
    bool Checked() const { return State() == CheckState::cbChecked; }
    void SetChecked(bool checked);

    ControlEvent OnClick;

protected:
    void nextCheckState() override;
    void paintEvent(QPaintEvent* event) override;

private:
    void ReportStateChange();

    // The state OnClick last reported, so that the program's own sets are
    // not reported a second time.
    CheckState reportedState_ = CheckState::cbUnchecked;
};
