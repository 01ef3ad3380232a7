#pragma once

#include <cstdint>

class QString;
class RecoveryJournal;
class RomDocument;

// What the editor asks and tells about the ROM file on disk and the work not yet in it.

// Before a save: where another program has written the file since it was opened or
// saved, or the path now names another file, asks whether to write over it (No is the
// default). Returns whether the save may go on.
bool DiskAllowsSave(RomDocument &document);

// When the main window is activated: where another program has written the file, offers
// once per change to load it again as one step of the history.
void OfferReload(RomDocument &document, int32_t level);

// Before an open: where another running editor has the file open, says so and asks whether
// to open it all the same (No is the default). Returns whether the open may go on.
bool OtherEditorsAllowOpen(const RecoveryJournal &journal, const QString &fileName);

// After an open: removes the copies that saves cut short left beside the file and tells
// of those that stay; offers the unsaved edits an earlier session left for the file, or
// tells that they were made to other bytes, or do not read, and were kept aside. Several
// journals are offered newest first, until one is restored; the older ones then stay for
// the next open.
void RemoveStaleSaveCopies(const RomDocument &document);
void OfferRecovery(RecoveryJournal &journal, const RomDocument &document, int32_t level);
