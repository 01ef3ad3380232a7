#pragma once

#include <QString>

// What the program keeps for one ROM file in a shared folder (its recovery journal, its
// restore points) is found by these names.

// The file's canonical path; its absolute path while it does not exist.
QString FileKey(const QString &fileName);

// The file's name followed by a hash of its key ("game.smc.0123456789abcdef"), so that files
// of the same name in different folders keep apart.
QString FileKeyName(const QString &fileName);
