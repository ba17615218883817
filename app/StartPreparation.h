#pragma once

#include "store/Backup.h"
#include "store/ProgramState.h"

#include <QString>

namespace pelmar {

// Start-up's share of the data work that needs no window, for a thread of
// its own while the pages are built: both files opened on connections of
// that thread and checked as opening checks them and, only when both are
// sound with nothing to ask or tell, the work tables brought to what the
// pages show first and the pickers' lists read. Each part that fails is left
// out of `ready`, for the pages to do (and tell) as at any other time.
// Every connection is closed again before it returns.
struct StartPreparation {
    bool filesSound = false; // both files passed every check opening makes
    ReadyAtStart ready;
    backup::Leftovers leftovers; // what interrupted backups and restores had left, removed first
};

StartPreparation prepareStart(const QString &mainPath, const QString &workPath);

} // namespace pelmar
