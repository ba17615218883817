#pragma once

#include "messages/ShowMsg.h"
#include "store/Backup.h"
#include "store/ProgramState.h"

#include <QDateTime>

namespace pelmar {

// The master as it was is kept before 登録 replaces it; without that copy
// nothing is written, and the user is told why.
inline bool keepCopyBeforeRegistering(const ProgramState &state, backup::Reason reason)
{
    const backup::Outcome saved = backup::take(state.MainDb, state.DataPath, reason, QDateTime::currentDateTime());
    if (!saved.ok())
        ShowMsg(msg::エラー登録前バックアップ, saved.error);
    return saved.ok();
}

} // namespace pelmar
