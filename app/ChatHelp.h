#pragma once

#include <QWidget>

// A help window beside the main window, never modal. Hiding it keeps it, with
// its position, for the next showing.
class TChatHelpForm : public QWidget {
    Q_OBJECT

public:
    explicit TChatHelpForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool placed_ = false;
};

extern TChatHelpForm* ChatHelpForm;
