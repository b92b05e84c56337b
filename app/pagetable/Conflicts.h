#pragma once

struct PageSlot;

// What became of a page's edit that no trigger saved, before something
// replaces the page: saved (or there was none), dropped for the file as it
// is on disk, kept for the user to decide later, or not saved.
enum class EditFate { Settled, Dropped, Kept, Unsaved };

// Asks the user about a save's Conflict on the page and carries out the
// answer; the page is not loaded.
EditFate ResolveConflict(PageSlot& page);
// What a trigger's save met: the page shows the file when the user drops
// the edit for it.
void ResolveConflictAtTrigger(PageSlot& page);
