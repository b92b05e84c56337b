#pragma once

#include "HistoryStore.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class HistoryRecorder;
class QLabel;
class QPushButton;
class QTreeWidget;

// The history of the file the shown page edits, in a window of its own
// beside the main window: its versions newest first, each with its time,
// what made it and its change against the one before; the difference of the
// version selected to the file as it is now; and Restore. It follows the
// page, and reads the store again whenever versions were recorded since.
class THistoryForm : public QWidget {
    Q_OBJECT

public:
    // Without history, the window says why none is kept.
    explicit THistoryForm(HistoryRecorder* history, QWidget* parent = nullptr);

    // The game folder open, whose files the history shows.
    QLabel* GameFolderLabel;
    QLabel* StateLabel;
    QTreeWidget* VersionList;
    QLabel* DifferenceNote;
    QTreeWidget* DifferenceList;
    QPushButton* RestoreButton;
    QPushButton* CloseButton;

    // Shows the history of the file at path, as the pages name it; none:
    // the page shows no file.
    void ShowHistoryOf(const std::optional<QString>& path);
    // Reads the store again when versions were recorded since it last did.
    void Refresh();
    // The version selected; none when no version with content is.
    std::optional<StoredVersion> SelectedVersion() const;
    const QString& ShownPath() const { return path_; }

    // Restore, and Return on a version, ask for this version of the file
    // at path to be written back.
    std::function<void(const QString& path, const StoredVersion& version)> OnRestore;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build();
    void ReadVersions();
    void FillVersionList(int selectedNumber);
    void ShowDifference();
    void ShowDifferenceRows(const StoredVersion& version);
    void RestoreSelected();

    HistoryRecorder* history_;
    QString path_;
    bool hasPath_ = false;
    quint64 revisionRead_ = 0;
    bool read_ = false;
    bool placed_ = false;
    std::vector<StoredVersion> versions_;
};
