#pragma once
// A SQLite VFS over the default one that fails one chosen write, as a disk does when it is full
// or breaks: while a FailingVfs exists it is the default VFS, so every connection opened then
// (and every file attached to it) writes through it.
//
// failWrite(n, code) makes the n-th write from then on return `code` (SQLITE_IOERR_WRITE or
// SQLITE_FULL) without writing; the writes before and after it go through. Syncs are counted
// but not passed on: what reaches the disk is the same to this process, and the tests stay fast.

#include <sqlite3.h>

#include <functional>
#include <string_view>

class FailingVfs {
 public:
  FailingVfs();
  ~FailingVfs();
  FailingVfs(const FailingVfs&) = delete;
  FailingVfs& operator=(const FailingVfs&) = delete;

  // n = 0: no write fails. Resets the count.
  void failWrite(int n, int code);
  // Whether the chosen write has happened (and failed).
  bool failed() const { return failed_; }
  // Runs just before each file (a journal, at a commit's steps) is deleted, with its name.
  void onDelete(std::function<void(std::string_view file)> hook) { onDelete_ = std::move(hook); }

  // For the wrapped files (FailingVfs.cpp).
  sqlite3_vfs* base() const { return base_; }
  int write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset);

 private:
  sqlite3_vfs vfs_{};
  sqlite3_vfs* base_ = nullptr;
  int failAt_ = 0;
  int code_ = SQLITE_OK;
  int writes_ = 0;
  bool failed_ = false;
  std::function<void(std::string_view)> onDelete_;
};
