#pragma once

#include <QString>

// The full read of a data file that start-up leaves out: opening checks only
// that a file is a database with the right tables, which costs the same for
// any amount of data; whether every page of it reads back sound is checked
// here, afterwards, on a connection of its own.
namespace pelmar {

// Reads the whole file on a read-only connection opened and closed in the
// calling thread, so it may run beside the program's own connections. Empty
// when the file is sound; otherwise what SQLite found, in the user's words.
QString soundnessProblem(const QString &filePath);

} // namespace pelmar
