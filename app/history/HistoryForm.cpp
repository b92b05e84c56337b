#include "HistoryForm.h"

#include "ChangeTerms.h"
#include "ControlNames.h"
#include "Exceptions.h"
#include "HistoryKey.h"
#include "HistoryRecorder.h"
#include "LineFile.h"
#include "VersionRows.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QTreeWidget* MakeList(QWidget* parent, const QStringList& headers, const QString& name)
{
    auto* list = new QTreeWidget(parent);
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setAccessibleName(name);
    list->header()->setStretchLastSection(true);
    return list;
}

// A row's side as the difference shows it: an empty cell would look like
// no value at all.
QString ValueText(const DifferenceRow& row, const std::optional<QString>& value)
{
    if (!value)
        return QStringLiteral("(none)");
    if (value->isEmpty())
        return row.name.isEmpty() ? QStringLiteral("(empty line)") : QStringLiteral("(empty)");
    return *value;
}

} // namespace

THistoryForm::THistoryForm(HistoryRecorder* history, QWidget* parent)
    : QWidget(parent, Qt::Window), history_(history)
{
    // Only the main window's closing ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    Build();
    ShowHistoryOf(std::nullopt);
}

void THistoryForm::Build()
{
    GameFolderLabel = Named(new QLabel(this), "GameFolderLabel");
    GameFolderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Selecting the path to copy it must not take the focus from the versions,
    // where Return restores.
    GameFolderLabel->setFocusPolicy(Qt::NoFocus);
    // A long path is cut at the window's edge rather than widening it; its
    // tool tip holds it whole.
    GameFolderLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StateLabel = Named(new QLabel(this), "StateLabel");
    // Said in place of the rows when there are none to list.
    DifferenceNote = Named(new QLabel(this), "DifferenceNote");
    StateLabel->setWordWrap(true);
    VersionList = Named(MakeList(this,
                                 {QStringLiteral("Version"), QStringLiteral("When"),
                                  QStringLiteral("Made by"), QStringLiteral("Change")},
                                 QStringLiteral("Versions, newest first")),
                        "VersionList");
    auto* differenceLabel =
        new QLabel(QStringLiteral("Difference of the version selected to the file as it is now:"), this);
    DifferenceList = Named(MakeList(this,
                                    {QStringLiteral("Setting or line"),
                                     QStringLiteral("This version"), QStringLiteral("Now")},
                                    differenceLabel->text()),
                           "DifferenceList");
    differenceLabel->setBuddy(DifferenceList);
    RestoreButton = Named(new QPushButton(QStringLiteral("&Restore"), this), "RestoreButton");
    CloseButton = Named(new QPushButton(QStringLiteral("Close"), this), "CloseButton");

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(RestoreButton);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GameFolderLabel);
    layout->addWidget(StateLabel);
    layout->addWidget(VersionList, 3);
    layout->addWidget(differenceLabel);
    layout->addWidget(DifferenceNote);
    layout->addWidget(DifferenceList, 2);
    layout->addLayout(buttons);
    resize(820, 520);

    connect(VersionList, &QTreeWidget::currentItemChanged, this, [this] { ShowDifference(); });
    connect(RestoreButton, &QPushButton::clicked, this, [this] { RestoreSelected(); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* restoreKey = new QShortcut(QKeySequence(key), VersionList);
        restoreKey->setContext(Qt::WidgetShortcut);
        connect(restoreKey, &QShortcut::activated, this, [this] { RestoreSelected(); });
    }
}

void THistoryForm::ShowHistoryOf(const std::optional<QString>& path)
{
    const QString shown = path.value_or(QString());
    if (hasPath_ == path.has_value() && shown == path_ && read_) {
        Refresh();
        return;
    }
    hasPath_ = path.has_value();
    path_ = shown;
    const QString title = path ? QStringLiteral("History of ") + HistoryKeyOf(*path).file
                               : QStringLiteral("History");
    setWindowTitle(title);
    setAccessibleName(title);
    // Two game folders may hold the same files: which one is open shows here.
    const QString folder = QStringLiteral("Game folder: ") + QDir::toNativeSeparators(QDir::currentPath());
    GameFolderLabel->setText(folder);
    GameFolderLabel->setToolTip(folder);
    setAccessibleDescription(folder);
    ReadVersions();
    FillVersionList(0);
}

void THistoryForm::Refresh()
{
    if (history_)
        history_->RecordWaiting();
    if (read_ && history_ && history_->Revision() == revisionRead_)
        return;
    const std::optional<StoredVersion> selected = SelectedVersion();
    ReadVersions();
    FillVersionList(selected ? selected->number : 0);
}

void THistoryForm::ReadVersions()
{
    versions_.clear();
    read_ = true;
    if (!history_ || !history_->Store()) {
        StateLabel->setText(history_ && !history_->Unavailable().isEmpty()
                                ? history_->Unavailable()
                                : QStringLiteral("No history of your files is kept in this run."));
        return;
    }
    revisionRead_ = history_->Revision();
    if (!hasPath_) {
        StateLabel->setText(QStringLiteral("The page shows no file."));
        return;
    }
    const HistoryKey key = HistoryKeyOf(path_);
    try {
        versions_ = history_->Store()->Versions(key.gameFolder, key.file);
    } catch (const Exception& failure) {
        StateLabel->setText(failure.Message());
        return;
    }
    StateLabel->setText(versions_.empty()
                            ? QStringLiteral("No version of %1 is kept yet.").arg(key.file)
                            : versions_.size() == 1
                                ? QStringLiteral("1 version of %1 is kept.").arg(key.file)
                                : QStringLiteral("%1 versions of %2 are kept.")
                                      .arg(versions_.size())
                                      .arg(key.file));
}

void THistoryForm::FillVersionList(int selectedNumber)
{
    VersionList->clear();
    const QDateTime now = QDateTime::currentDateTimeUtc();
    QTreeWidgetItem* selected = nullptr;
    for (const VersionRow& row : VersionRows(HistoryKeyOf(path_).file, versions_)) {
        auto* item = new QTreeWidgetItem(
            VersionList, {QString::number(row.number),
                          RelativeTime(row.madeAt, now) + QStringLiteral(" (")
                              + ExactTime(row.madeAt) + QStringLiteral(")"),
                          row.madeBy, row.change});
        item->setData(0, Qt::UserRole, row.number);
        if (row.number == selectedNumber)
            selected = item;
    }
    for (int column = 0; column < VersionList->columnCount() - 1; ++column)
        VersionList->resizeColumnToContents(column);
    VersionList->setCurrentItem(selected ? selected : VersionList->topLevelItem(0));
    ShowDifference();
}

std::optional<StoredVersion> THistoryForm::SelectedVersion() const
{
    const QTreeWidgetItem* item = VersionList->currentItem();
    if (!item)
        return std::nullopt;
    const int number = item->data(0, Qt::UserRole).toInt();
    for (const StoredVersion& version : versions_)
        if (version.number == number)
            return version;
    return std::nullopt;
}

void THistoryForm::ShowDifference()
{
    DifferenceList->clear();
    DifferenceNote->clear();
    const std::optional<StoredVersion> version = SelectedVersion();
    RestoreButton->setEnabled(false);
    if (version && version->content)
        ShowDifferenceRows(*version);
    else if (version)
        DifferenceNote->setText(QStringLiteral("This version keeps no content to compare or restore."));
    DifferenceNote->setVisible(!DifferenceNote->text().isEmpty());
}

void THistoryForm::ShowDifferenceRows(const StoredVersion& version)
{
    std::optional<QByteArray> now;
    try {
        now = ContentOnDisk(path_);
    } catch (const Exception& failure) {
        DifferenceNote->setText(failure.Message());
        RestoreButton->setEnabled(true);
        return;
    }
    if (now == version.content) {
        DifferenceNote->setText(QStringLiteral("This version is the file as it is now."));
        return;
    }
    RestoreButton->setEnabled(true);
    if (!now) {
        DifferenceNote->setText(QStringLiteral("The file does not exist now; Restore creates it."));
        return;
    }
    const Difference rows = ChangeDifference(HistoryKeyOf(path_).file, *version.content, *now);
    for (const DifferenceRow& row : rows)
        new QTreeWidgetItem(DifferenceList, {row.name.isEmpty() ? QStringLiteral("line") : row.name,
                                             ValueText(row, row.before), ValueText(row, row.after)});
    if (rows.empty())
        DifferenceNote->setText(QStringLiteral("Only the line ends differ from the file as it is now."));
    for (int column = 0; column < DifferenceList->columnCount() - 1; ++column)
        DifferenceList->resizeColumnToContents(column);
}

void THistoryForm::RestoreSelected()
{
    const std::optional<StoredVersion> version = SelectedVersion();
    if (version && version->content && RestoreButton->isEnabled() && OnRestore)
        OnRestore(path_, *version);
}

// Shown first over the middle of the main window, kept on its screen; where
// the user leaves it after that.
void THistoryForm::showEvent(QShowEvent* event)
{
    if (!placed_ && parentWidget()) {
        QRect frame = frameGeometry();
        frame.moveCenter(parentWidget()->window()->frameGeometry().center());
        if (const QScreen* screen = parentWidget()->screen()) {
            const QRect available = screen->availableGeometry();
            frame.moveLeft(std::clamp(frame.left(), available.left(), available.right() - frame.width()));
            frame.moveTop(std::clamp(frame.top(), available.top(), available.bottom() - frame.height()));
        }
        move(frame.topLeft());
        placed_ = true;
    }
    QWidget::showEvent(event);
}

// Escape closes the window wherever the focus is in it.
void THistoryForm::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
        close();
    else
        QWidget::keyPressEvent(event);
}
