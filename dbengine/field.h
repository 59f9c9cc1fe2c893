#pragma once

#include <string>
#include <utility>

#include "dbengine/types.h"

namespace dbengine {

class TDataSet;

// One column of a dataset, reading and writing the dataset's current record. A dataset makes its
// fields when it opens; they stay valid until it opens again or is destroyed.
class TField {
 public:
  TField(TDataSet& dataSet, int index, std::string fieldName, TFieldType dataType, int size)
      : FDataSet(dataSet),
        FIndex(index),
        FFieldName(std::move(fieldName)),
        FDataType(dataType),
        FSize(size) {}
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return FFieldName; }
  TFieldType DataType() const { return FDataType; }
  // Characters a text field holds at most; 0 for the other kinds.
  int Size() const { return FSize; }
  int Index() const { return FIndex; }
  TDataSet& DataSet() const { return FDataSet; }

  bool IsNull() const;
  // A yes/no field reads "True" or "False", a date-time "YYYY-MM-DD" or "YYYY-MM-DD HH:MM:SS",
  // a null field empty text.
  std::string AsString() const;
  bool AsBoolean() const;

  // Setters need the dataset in edit or insert mode. Text is converted to the field's kind: empty
  // text stores null; a date-time takes "YYYY-MM-DD" (no time of day) or "YYYY-MM-DD HH:MM[:SS]";
  // text that is not a value of the kind throws platform::EConvertError.
  void SetAsString(const std::string& value);
  void SetAsBoolean(bool value);
  void Clear();

 private:
  TDataSet& FDataSet;
  int FIndex;
  std::string FFieldName;
  TFieldType FDataType;
  int FSize;
};

}  // namespace dbengine
