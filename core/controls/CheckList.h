#pragma once

#include "ControlEvents.h"

#include <QListWidget>

#include <vector>

// A list of entries with check marks, kept in the order they were added. The
// user toggles a mark by clicking it or by Space on the highlighted entry
// (or, with none highlighted, the one with the focus frame), which raises
// OnClickCheck; the program's changes raise nothing. An index
// outside the entries raises EListError.
class CheckList : public QListWidget {
    Q_OBJECT

public:
    explicit CheckList(QWidget* parent = nullptr);

    void ClearEntries();
    int AddEntry(const QString& text);
    // Leaves exactly these entries, all unchecked, none highlighted and the
    // list scrolled to its start, as clearing and adding them would; entries
    // that stay keep their items, so an unchanged list costs next to nothing.
    void ShowEntries(const QStringList& texts);
    int EntryCount() const { return count(); }
    QString EntryText(int index) const;
    bool IsEntryChecked(int index) const;
    // The indices of the checked entries, in order.
    QList<int> CheckedEntries() const;
    void SetEntryChecked(int index, bool checked);

    // Every entry's height in pixels; by default the style's own.
    void SetEntryHeight(int pixels);

    // Where the entry's check mark is drawn, in viewport coordinates.
    QRect CheckMarkRect(int index) const;

    ControlEvent OnClickCheck;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QListWidgetItem& Entry(int index) const;
    void FollowMarks();
    void ReadMarks(int first, int last);
    void SetMark(int index, Qt::CheckState state);
    std::size_t MarkIndex(int index) const;
    int HighlightedIndex() const;
    bool HitsCheckMark(const QMouseEvent& event) const;
    void ToggleByUser(int index);

    // Each entry's mark as the model holds it, followed through the model's
    // signals whoever changes it: a save of a thousand roster entries reads
    // every mark, twice, and a load of bot.cfg sets every one, and through
    // the items each costs a walk to the item and a variant's conversion.
    std::vector<Qt::CheckState> marks_;
    // The connections' context: it goes before marks_ does, while the list
    // destroys its items, which the model tells of.
    QObject marksFollower_;
};
