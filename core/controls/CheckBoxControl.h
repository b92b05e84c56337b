#pragma once

#include "CheckState.h"
#include "ControlEvents.h"

#include <QCheckBox>

// A check box with its caption left of the box. OnClick runs for every change
// of State: inside the set call when the program changes it, through the
// failure guard when the user clicks. The program may set cbGrayed; the user
// toggles between checked and unchecked only.
//
// Only the drawn caption and the box belong to the control: a click there
// toggles it, while the blank stretch between them is part of the page
// beneath, for the pointer as for the eye.
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
    bool hitButton(const QPoint& position) const override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void ReportStateChange();
    // Where the caption is drawn, in the font it is drawn with.
    QRect CaptionRect(const QFont& font) const;
    QFont CaptionFont() const;
    QRegion DrawnArea() const;
    void UpdateMask();

    // The state OnClick last reported, so that the program's own sets are
    // not reported a second time.
    CheckState reportedState_ = CheckState::cbUnchecked;
};
