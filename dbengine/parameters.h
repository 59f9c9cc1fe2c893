#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace dbengine {

// A value handed to a statement beside its text: null, a whole number, a number with a fraction
// or text. Text is always taken as it is, never read as SQL: an apostrophe is an apostrophe, and
// % and _ mean what LIKE makes of them. A yes/no value is the number 1 or 0, as stored.
class TParamValue {
 public:
  enum class TKind : std::uint8_t { Null, Integer, Float, Text };

  TParamValue() = default;
  TParamValue(std::nullptr_t) {}
  TParamValue(const char* text) : FKind(TKind::Text), FText(text) {}
  TParamValue(std::string text) : FKind(TKind::Text), FText(std::move(text)) {}
  TParamValue(bool value) : FKind(TKind::Integer), FInteger(value ? 1 : 0) {}
  TParamValue(int value) : FKind(TKind::Integer), FInteger(value) {}
  TParamValue(long value) : FKind(TKind::Integer), FInteger(value) {}
  TParamValue(long long value) : FKind(TKind::Integer), FInteger(value) {}
  TParamValue(double value) : FKind(TKind::Float), FFloat(value) {}

  TKind Kind() const { return FKind; }
  bool IsNull() const { return FKind == TKind::Null; }
  std::int64_t Integer() const { return FInteger; }
  double Float() const { return FFloat; }
  const std::string& Text() const { return FText; }

 private:
  TKind FKind = TKind::Null;
  std::int64_t FInteger = 0;
  double FFloat = 0;
  std::string FText;
};

// One :name placeholder of a statement and the value it stands for; null until given one.
struct TParameter {
  std::string Name;
  TParamValue Value;
};

// The parameters of a statement, in the order their placeholders first appear in its text.
// Names match without regard to ASCII case, as identifiers do.
class TParameters {
 public:
  TParameters() = default;
  // Parameters given directly: {{"name", "%김%"}, {"group", 3}}.
  TParameters(std::initializer_list<TParameter> parameters);

  int Count() const { return static_cast<int>(FItems.size()); }
  // By position, 0-based; EDatabaseError when there is none.
  TParameter& operator[](int index);
  const TParameter& operator[](int index) const;
  // EDatabaseError "Parameter '<name>' not found" when there is none.
  TParameter& ParamByName(const std::string& name);
  const TParameter* FindParam(const std::string& name) const;
  TParameter* FindParam(const std::string& name);

  // Makes the list the placeholders of a statement of the Jet dialect, in order, each null.
  void ParseSQL(const std::string& jetSql);

 private:
  std::vector<TParameter> FItems;
};

}  // namespace dbengine
