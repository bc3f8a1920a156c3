#pragma once
// Table files damaged behind the engine's back, as a disk, another tool or a killed program
// leaves them.

#include <filesystem>
#include <string>

// Runs SQL on a file with SQLite alone.
void rawExec(const std::filesystem::path& file, const std::string& sql);

// Overwrites the header of the first page of the rows table (`data`) with junk: the file still
// opens and its structure record reads, but SQLite's integrity check fails.
void corruptRowsPage(const std::filesystem::path& file);

// A write of many rows to the file, cut by the death of its process before it committed: the
// file keeps a hot rollback journal ("-journal") whose pages SQLite plays back at the next open.
void killedWriteLeavingItsJournal(const std::filesystem::path& file);

// The same in WAL mode: a "-wal" (and "-shm") with committed pages stays beside the file.
void killedWalWrite(const std::filesystem::path& file);
