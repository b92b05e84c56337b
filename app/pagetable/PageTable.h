#pragma once

#include "SaveGuard.h"

#include <QString>

#include <array>
#include <functional>
#include <optional>

class QWidget;

// A page as the features that concern every page see it: the put-back key,
// F5, the tab's signs, the saves of pending edits, the close question and
// the watching of the user's edits each work on these rows alone.
struct PageSlot {
    QWidget* tab = nullptr;
    QString caption;
    SaveGuard* guard = nullptr;
    // The control that chooses the page's file; it is no part of the file.
    const QWidget* chooser = nullptr;
    // The file the page's load reads; none when no file may be chosen.
    std::function<std::optional<QString>()> shownFile;
    // The page's own load, of the file its number or chat kind chooses.
    std::function<void()> reload;
    // Saves the user's edit that no trigger saved into the file the page
    // holds, as the page's trigger would.
    std::function<SaveOutcome()> savePending;
    // Why a file this run created must stay although the user asks to put
    // it back; empty when it may go.
    std::function<QString()> whyCreatedFileStays;
    // What the page shows once its file was removed; none: it loads again.
    std::function<void(const QString& path)> showAfterRemoval;
    // The page's load when its file changed under it without the user asking
    // for it: the user's place on the page stays.
    std::function<void()> reloadInPlace;
};

// The window's pages in the order their pending edits are saved: bot.cfg
// first, since a personality's save reads bot.cfg again.
using PageTable = std::array<PageSlot, 3>;

PageSlot& RowOf(PageTable& pages, const QWidget* tab);

// The page's pending save under the failure guard: a failure is reported
// and counts as a refusal.
SaveOutcome SavePendingEdit(PageSlot& page);

// The file the page holds, which the number or chat kind just chosen no
// longer names; before any load began, the one its trigger would save.
QString FileThePageHolds(const SaveGuard& guard, const QString& triggerPath);
