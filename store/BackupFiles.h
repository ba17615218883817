#pragma once

#include <QSqlDatabase>
#include <QString>

#include <filesystem>
#include <functional>

// What taking a backup (Backup.cpp) and restoring one (BackupRestore.cpp)
// share; nothing outside the two uses it.
namespace pelmar::backup {

// The date and time in a backup's name, and in the name a damaged file is
// kept aside under.
inline const QString kDateFormat = QStringLiteral("yyyyMMdd-HHmmss");

// A path as the user's system writes it, for messages.
QString native(const QString &path);

// A path as the standard library takes it, for hard links and renames that
// replace a file in one step.
std::filesystem::path fsPath(const QString &path);

// Runs `use` on a read-only connection of its own to the file; the
// connection is gone again when this returns. Empty, or why it failed.
QString withReadOnly(const QString &path, const std::function<QString(const QSqlDatabase &)> &use);

// Empty when the whole file reads back sound.
QString integrityProblem(const QSqlDatabase &db);

} // namespace pelmar::backup
