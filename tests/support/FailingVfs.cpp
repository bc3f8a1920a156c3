#include "FailingVfs.h"

#include <cstddef>
#include <stdexcept>

namespace {

// A wrapped file: the base VFS's file follows it in the same allocation.
struct WrappedFile {
  sqlite3_file base;  // pMethods: kIoMethods
  FailingVfs* owner;
  sqlite3_file* real;
};

constexpr std::size_t kHeader = (sizeof(WrappedFile) + 15) / 16 * 16;

sqlite3_file* real(sqlite3_file* f) {
  return reinterpret_cast<WrappedFile*>(f)->real;
}

// Passes a call of the wrapped file on to the real one.
template <auto Method, class = decltype(Method)>
struct Forward;
template <auto Method, class... Args>
struct Forward<Method, int (*sqlite3_io_methods::*)(sqlite3_file*, Args...)> {
  static int call(sqlite3_file* f, Args... args) {
    return (real(f)->pMethods->*Method)(real(f), args...);
  }
};
template <auto Method>
constexpr auto forward = Forward<Method>::call;

int xClose(sqlite3_file* f) {
  sqlite3_file* r = real(f);
  return r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
}

// Version 1: no shared memory and no memory mapping, which rollback-journal mode does not need.
const sqlite3_io_methods kIoMethods = {
    .iVersion = 1,
    .xClose = xClose,
    .xRead = forward<&sqlite3_io_methods::xRead>,
    .xWrite =
        [](sqlite3_file* f, const void* p, int n, sqlite3_int64 off) {
          return reinterpret_cast<WrappedFile*>(f)->owner->write(f, p, n, off);
        },
    .xTruncate = forward<&sqlite3_io_methods::xTruncate>,
    .xSync = [](sqlite3_file*, int) { return SQLITE_OK; },
    .xFileSize = forward<&sqlite3_io_methods::xFileSize>,
    .xLock = forward<&sqlite3_io_methods::xLock>,
    .xUnlock = forward<&sqlite3_io_methods::xUnlock>,
    .xCheckReservedLock = forward<&sqlite3_io_methods::xCheckReservedLock>,
    .xFileControl = forward<&sqlite3_io_methods::xFileControl>,
    .xSectorSize = forward<&sqlite3_io_methods::xSectorSize>,
    .xDeviceCharacteristics = forward<&sqlite3_io_methods::xDeviceCharacteristics>,
    .xShmMap = nullptr,
    .xShmLock = nullptr,
    .xShmBarrier = nullptr,
    .xShmUnmap = nullptr,
    .xFetch = nullptr,
    .xUnfetch = nullptr,
};

FailingVfs* owner(sqlite3_vfs* vfs) {
  return static_cast<FailingVfs*>(vfs->pAppData);
}

sqlite3_vfs* baseOf(sqlite3_vfs* vfs) {
  return owner(vfs)->base();
}

}  // namespace

FailingVfs::FailingVfs() {
  base_ = sqlite3_vfs_find(nullptr);
  if (!base_) throw std::runtime_error("no default SQLite VFS");
  // The base's own functions, called with this VFS, ignore it; only opening wraps the file.
  vfs_ = *base_;
  vfs_.szOsFile = static_cast<int>(kHeader) + base_->szOsFile;
  vfs_.zName = "failing-writes";
  vfs_.pAppData = this;
  vfs_.xOpen = [](sqlite3_vfs* vfs, sqlite3_filename name, sqlite3_file* f, int flags,
                  int* outFlags) {
    auto* w = reinterpret_cast<WrappedFile*>(f);
    w->owner = owner(vfs);
    w->real = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(f) + kHeader);
    w->real->pMethods = nullptr;
    const int rc = baseOf(vfs)->xOpen(baseOf(vfs), name, w->real, flags, outFlags);
    w->base.pMethods = w->real->pMethods ? &kIoMethods : nullptr;
    return rc;
  };
  vfs_.xDelete = [](sqlite3_vfs* vfs, const char* name, int syncDir) {
    if (owner(vfs)->onDelete_) owner(vfs)->onDelete_(name);
    return baseOf(vfs)->xDelete(baseOf(vfs), name, syncDir);
  };
  sqlite3_vfs_register(&vfs_, 1);
}

FailingVfs::~FailingVfs() {
  sqlite3_vfs_unregister(&vfs_);
  sqlite3_vfs_register(base_, 1);
}

void FailingVfs::failWrite(int n, int code) {
  failAt_ = n;
  code_ = code;
  writes_ = 0;
  failed_ = false;
}

int FailingVfs::write(sqlite3_file* f, const void* data, int amount, sqlite3_int64 offset) {
  ++writes_;
  if (failAt_ > 0 && writes_ == failAt_) {
    failed_ = true;
    return code_;
  }
  sqlite3_file* r = real(f);
  return r->pMethods->xWrite(r, data, amount, offset);
}
