#pragma once
// EngineError: the one error type of the table engine.
//
// Every failure of the engine (missing file, wrong table password, key violation, empty required
// field, text that code page 950 cannot hold, a full disk, a medium that cannot be written, an
// I/O error, a file that is not the table its name says, an operation in the wrong state) is
// thrown as an EngineError. It carries what happened as data: code() is the kind, file() the
// table file (or files) concerned, field() the field, detail() what the kind alone does not
// say. what() is the message a clerk reads, in Traditional Chinese, made from those data in one
// place (EngineError.cpp); callers read the data, never the text.
//
// Layers above the engine may throw an EngineError with a message of their own (a rule of a
// page, a refused transfer record); code() still tells its kind.

#include <exception>
#include <stdexcept>
#include <string>

namespace store {

class EngineError : public std::runtime_error {
 public:
  enum class Code {
    General,        // anything not listed below
    MissingFile,    // the table file (or its folder) does not exist
    BadPassword,    // the file's password verifier matches no password of the session
    KeyViolation,   // a row with the same primary key already exists
    RequiredField,  // a required field is empty
    InvalidValue,   // text CP950 cannot hold, text wider than its field, a malformed number
    WrongState,     // e.g. Post with no row being inserted or edited, reading a closed table
    EmptyTable,     // Delete with no row to delete
    UnknownField,   // FieldByName, an index or a link names no field of the table
    Busy,           // the file is locked by another program
    DiskFull,       // the disk or diskette holding the file is full
    ReadOnly,       // the file or its folder cannot be written (write-protected, permissions)
    IoError,        // the system reported an input/output error on the file
    NotATable,  // not a table file of this program, damaged, or not the structure its name needs
    Aborted,    // an earlier failure ended the transaction; nothing more runs in it
  };

  // An error of the engine: the message is made from the kind and the data.
  static EngineError of(Code code, std::string file, std::string field = {},
                        std::string detail = {});

  // The error of a failed system call (errno) on a file: a full disk, a medium that cannot be
  // written, an I/O error, a missing folder, or else General.
  static EngineError fromErrno(int error, std::string file);

  // What a clerk is told of any exception: an EngineError as it is; a failed file operation of
  // the standard library (std::filesystem::filesystem_error) as fromErrno tells it; exhausted
  // memory; anything else as an unforeseen error, General. The text of an exception that is not
  // an EngineError is the library's, in English, and is never shown. REQUIRES: `exception` is
  // not null.
  static EngineError from(std::exception_ptr exception);

  // An error with a message of the caller's own (Traditional Chinese, fit to show as it is).
  EngineError(Code code, const std::string& message)
      : std::runtime_error(message), code_(code), detail_(message) {}

  Code code() const noexcept { return code_; }
  const std::string& file() const noexcept { return file_; }
  const std::string& field() const noexcept { return field_; }
  const std::string& detail() const noexcept { return detail_; }

  // The message of a kind for these data: the one place where kinds become text.
  static std::string message(Code code, const std::string& file, const std::string& field,
                             const std::string& detail);

 private:
  EngineError(Code code, std::string file, std::string field, std::string detail,
              const std::string& message)
      : std::runtime_error(message),
        code_(code),
        file_(std::move(file)),
        field_(std::move(field)),
        detail_(std::move(detail)) {}

  Code code_;
  std::string file_;
  std::string field_;
  std::string detail_;
};

}  // namespace store
