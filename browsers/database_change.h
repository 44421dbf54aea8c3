// Changing a browser's database so that nothing a change removes stays readable on the disk.
#pragma once

#include <functional>
#include <string>

#include "browsers/sqlite_database.h"
#include "platform/files.h"

namespace purgeon {

// Opens the database, keeps its journal in place (SqliteDatabase::keepJournal), turns secure
// deletion on and runs change, which opens and commits its own transaction and returns whether
// it removed anything; then the file is rebuilt, the connection closed, and the kept journal, which
// holds the pages as they were before the change, overwritten once in place and removed. No block
// that held removed data is freed without being overwritten first. SQLite's failures are thrown
// as SqliteError (the journal is overwritten all the same); the journal's own failure comes back
// as words, empty when it went through.
std::wstring changeLeavingNoTrace(FileSystem& files, const std::wstring& path,
                                  const std::function<bool(SqliteDatabase&)>& change);

// Overwrites a file the program made or kept once, in place, and removes it; nothing when it is
// not there. Words naming the file (its last name part) and why it is still there, or empty.
std::wstring overwriteLeftover(FileSystem& files, const std::wstring& path);

}  // namespace purgeon
