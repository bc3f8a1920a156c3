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

int xClose(sqlite3_file* f) {
  sqlite3_file* r = real(f);
  return r->pMethods ? r->pMethods->xClose(r) : SQLITE_OK;
}
int xRead(sqlite3_file* f, void* p, int n, sqlite3_int64 off) {
  return real(f)->pMethods->xRead(real(f), p, n, off);
}
int xWrite(sqlite3_file* f, const void* p, int n, sqlite3_int64 off) {
  return reinterpret_cast<WrappedFile*>(f)->owner->write(f, p, n, off);
}
int xTruncate(sqlite3_file* f, sqlite3_int64 size) {
  return real(f)->pMethods->xTruncate(real(f), size);
}
int xSync(sqlite3_file*, int) {
  return SQLITE_OK;
}
int xFileSize(sqlite3_file* f, sqlite3_int64* size) {
  return real(f)->pMethods->xFileSize(real(f), size);
}
int xLock(sqlite3_file* f, int level) {
  return real(f)->pMethods->xLock(real(f), level);
}
int xUnlock(sqlite3_file* f, int level) {
  return real(f)->pMethods->xUnlock(real(f), level);
}
int xCheckReservedLock(sqlite3_file* f, int* out) {
  return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int xFileControl(sqlite3_file* f, int op, void* arg) {
  return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int xSectorSize(sqlite3_file* f) {
  return real(f)->pMethods->xSectorSize(real(f));
}
int xDeviceCharacteristics(sqlite3_file* f) {
  return real(f)->pMethods->xDeviceCharacteristics(real(f));
}

// Version 1: no shared memory and no memory mapping, which rollback-journal mode does not need.
const sqlite3_io_methods kIoMethods = {1,
                                       xClose,
                                       xRead,
                                       xWrite,
                                       xTruncate,
                                       xSync,
                                       xFileSize,
                                       xLock,
                                       xUnlock,
                                       xCheckReservedLock,
                                       xFileControl,
                                       xSectorSize,
                                       xDeviceCharacteristics,
                                       nullptr,
                                       nullptr,
                                       nullptr,
                                       nullptr,
                                       nullptr,
                                       nullptr};

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
  vfs_.iVersion = 2;
  vfs_.szOsFile = static_cast<int>(kHeader) + base_->szOsFile;
  vfs_.mxPathname = base_->mxPathname;
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
    return baseOf(vfs)->xDelete(baseOf(vfs), name, syncDir);
  };
  vfs_.xAccess = [](sqlite3_vfs* vfs, const char* name, int flags, int* out) {
    return baseOf(vfs)->xAccess(baseOf(vfs), name, flags, out);
  };
  vfs_.xFullPathname = [](sqlite3_vfs* vfs, const char* name, int n, char* out) {
    return baseOf(vfs)->xFullPathname(baseOf(vfs), name, n, out);
  };
  vfs_.xRandomness = [](sqlite3_vfs* vfs, int n, char* out) {
    return baseOf(vfs)->xRandomness(baseOf(vfs), n, out);
  };
  vfs_.xSleep = [](sqlite3_vfs* vfs, int us) { return baseOf(vfs)->xSleep(baseOf(vfs), us); };
  vfs_.xCurrentTime = [](sqlite3_vfs* vfs, double* t) {
    return baseOf(vfs)->xCurrentTime(baseOf(vfs), t);
  };
  vfs_.xGetLastError = [](sqlite3_vfs* vfs, int n, char* out) {
    return baseOf(vfs)->xGetLastError(baseOf(vfs), n, out);
  };
  vfs_.xCurrentTimeInt64 = [](sqlite3_vfs* vfs, sqlite3_int64* t) {
    return baseOf(vfs)->xCurrentTimeInt64(baseOf(vfs), t);
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
