#pragma once
// EngineError: the one error type of the table engine.
//
// Every failure of the engine (missing file, wrong table password, key violation, empty required
// field, text that code page 950 cannot hold, a file that another program holds locked, an
// operation in the wrong state) is thrown as an EngineError. Its what() is a message fit to be
// shown to the clerk as it stands; code() lets callers and tests tell the kinds apart.

#include <stdexcept>
#include <string>

namespace store {

class EngineError : public std::runtime_error {
 public:
  enum class Code {
    General,        // anything not listed below, including failures of the file system
    MissingFile,    // the table file does not exist in the data folder
    BadPassword,    // the file's password verifier matches no password of the session
    KeyViolation,   // a row with the same primary key already exists
    RequiredField,  // a required field is empty
    InvalidValue,   // text CP950 cannot hold, text wider than its field, a malformed number
    WrongState,     // e.g. Post with no row being inserted or edited, reading a closed table
    EmptyTable,     // Delete with no row to delete
    UnknownField,   // FieldByName, an index or a link names no field of the table
    Busy,           // the file is locked by another program
  };

  EngineError(Code code, const std::string& message) : std::runtime_error(message), code_(code) {}
  Code code() const noexcept { return code_; }

 private:
  Code code_;
};

}  // namespace store
