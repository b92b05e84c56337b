#pragma once

struct PageSlot;

// What became of a page's edit that no trigger saved, before something
// replaces the page: saved (or there was none), dropped for the file as it
// is on disk, written into the file as another program left it, kept for the
// user to decide later, or not saved.
enum class EditFate { Settled, Dropped, Merged, Kept, Unsaved };

// After a dropped or merged edit the file holds what the page does not show:
// the page must load it before anything of it is saved again.
bool LeavesPageBehindItsFile(EditFate fate);

// Asks the user about a save's Conflict on the page and carries out the
// answer; the page is not loaded.
EditFate ResolveConflict(PageSlot& page);
