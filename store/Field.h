#pragma once
// Field: a handle on one field of the current row of a Table (or of a Query's result row).
//
// Reading: text() gives UTF-8 (string fields decoded from code page 950; numbers in the plain
// form of formatNumber; "" when empty); bytes() gives a string field's bytes as stored;
// number() gives the numeric value (a string field's text parsed; 0 when empty).
//
// Writing is allowed while the table is in insert or edit state (the row buffer) and in set-key
// state (the search or range key). setText() on a string field refuses, with an EngineError
// naming the field, text that code page 950 cannot hold and text wider than the field in bytes;
// nothing is ever cut. setText("") empties the field. setText() on a number field parses the
// text ("" empties it). Assigning a closed table's field is an error.
//
// A Field stays valid while its table object exists (it does not follow SetTableName).

#include <string>
#include <string_view>

#include "Schema.h"
#include "Value.h"

namespace store {

class FieldOwner {
 public:
  virtual const FieldDef& fieldDef(int index) const = 0;
  virtual const Value& fieldValue(int index) const = 0;
  virtual void setFieldValue(int index, Value value) = 0;
  // True while the fields take a search or range key rather than a row's values: a key wider
  // than its field is kept (it matches no row) instead of being refused.
  virtual bool takesKey() const { return false; }

 protected:
  ~FieldOwner() = default;
};

class Field {
 public:
  Field(FieldOwner* owner, int index) : owner_(owner), index_(index) {}

  const std::string& name() const { return def().name; }
  FieldType type() const { return def().type; }
  int width() const { return def().width; }
  bool required() const { return def().required; }

  bool isNull() const;
  std::string text() const;
  std::string bytes() const;
  double number() const;
  const Value& value() const { return owner_->fieldValue(index_); }

  void setText(std::string_view utf8);
  void setNumber(double d);
  void setValue(const Value& v);
  void clear();

 private:
  const FieldDef& def() const { return owner_->fieldDef(index_); }
  FieldOwner* owner_;
  int index_;
};

// Validates a value for a field: width in bytes, type. Throws EngineError naming the field.
Value checkedValue(const FieldDef& def, const Value& v, bool forKey = false);
// Converts UTF-8 text to a value of the field's type. Throws EngineError naming the field.
Value valueFromText(const FieldDef& def, std::string_view utf8, bool forKey = false);

}  // namespace store
