#pragma once

#include <QWidget>

// A help window beside the main window, never modal. Hiding it keeps it, with
// its position, for the next showing.
class TPersonalityHelpForm : public QWidget {
    Q_OBJECT

public:
    explicit TPersonalityHelpForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

extern TPersonalityHelpForm* PersonalityHelpForm;
