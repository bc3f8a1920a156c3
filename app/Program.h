#pragma once
// Program: the session on the data folder and the ten single instances of the program,
// created once, in this order, each reached through the global reference of its name:
//
//   MainForm, PinForm, MainMenuForm, CreatPinForm, ChangePinForm, DelPinForm, QuickReport1,
//   SalaryItemSetForm, SaveDialogBoxForm, PrintSimpleForm
//
// PinForm registers the table password while it is constructed, so it comes before every
// object that opens a table at creation. All ten are destroyed with the Program, in reverse
// order, and their references reset. A failure while creating them (a table file missing)
// throws, leaving nothing created. While the Program lives it holds the data folder's lock
// (store::FolderLock): a second program on the same folder is refused before it touches a file.

#include <filesystem>
#include <memory>

#include "store/FolderLock.h"
#include "store/Session.h"

class TMainForm;
class TPinForm;
class TMainMenuForm;
class TCreatPinForm;
class TChangePinForm;
class TDelPinForm;
class TQuickReport1;
class TSalaryItemSetForm;
class TSaveDialogBoxForm;
class TPrintSimpleForm;

class Program {
 public:
  explicit Program(const std::filesystem::path& dataFolder);
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  store::Session& session() { return session_; }

  // Start-up: creates the Program on the folder, or reports the failure once, with the
  // error's own message, and returns nothing (the entry screen is then never shown).
  static std::unique_ptr<Program> start(const std::filesystem::path& dataFolder);
  // The same on the folder of the database alias.
  static std::unique_ptr<Program> start();

  // The program's title: the entry screen's caption and the text of its taskbar button.
  static const char* title();

 private:
  // Owns one instance and keeps its global reference pointing at it while it lives.
  template <class T>
  class Instance {
   public:
    explicit Instance(T*& reference) : reference_(reference) {}
    ~Instance() {
      reference_ = nullptr;
      object_.reset();
    }
    template <class... Args>
    void create(Args&&... args) {
      object_ = std::make_unique<T>(std::forward<Args>(args)...);
      reference_ = object_.get();
    }

   private:
    T*& reference_;
    std::unique_ptr<T> object_;
  };

  // Taken first and held for the whole run: a second program on the folder stops here.
  store::FolderLock lock_;
  store::Session session_;
  Instance<TMainForm> mainForm_;
  Instance<TPinForm> pinForm_;
  Instance<TMainMenuForm> mainMenuForm_;
  Instance<TCreatPinForm> creatPinForm_;
  Instance<TChangePinForm> changePinForm_;
  Instance<TDelPinForm> delPinForm_;
  Instance<TQuickReport1> quickReport1_;
  Instance<TSalaryItemSetForm> salaryItemSetForm_;
  Instance<TSaveDialogBoxForm> saveDialogBoxForm_;
  Instance<TPrintSimpleForm> printSimpleForm_;
};
