#pragma once

#include "ControlEvents.h"

#include <QComboBox>

class SingleByteValidator;

// An editable drop-down selector. The program sets SelectedIndex without any
// event; OnChange runs only for the user: a pick from the list, Up or Down
// while the list is closed, and every edit of the text part. Typing leaves no
// entry selected.
class DropDownSelector : public QComboBox {
    Q_OBJECT

public:
    explicit DropDownSelector(QWidget* parent = nullptr);

    // -1 when no entry is selected.
    int SelectedIndex() const;
    // The index it reads already changes nothing, so -1 keeps a typed text.
    // A valid index selects that entry and shows its text; any other value
    // leaves no entry selected and empties the text part.
    void SetSelectedIndex(int index);
    QString Text() const;

    ControlEvent OnChange;

    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SelectEntry(int index);
    void ClearSelection();
    void MoveSelectionByUser(int step);
    void ReportPick(int index);
    void ReportEdit();
    void KeepSelectionStateOnInsert();

    // Qt keeps its current index while the user types; this records that
    // the text part no longer shows it.
    bool edited_ = false;
    int selectedBeforePopup_ = -1;
    SingleByteValidator* validator_;
    bool noneSelectedBeforeInsert_ = true;
    QString textBeforeInsert_;
};
