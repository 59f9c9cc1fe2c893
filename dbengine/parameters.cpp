#include "dbengine/parameters.h"

#include "dbengine/errors.h"
#include "dbengine/jet_sql.h"
#include "platform/ascii_case.h"

namespace dbengine {

TParameters::TParameters(std::initializer_list<TParameter> parameters) : FItems(parameters) {}

TParameter& TParameters::operator[](int index) {
  if (index < 0 || index >= Count())
    throw EDatabaseError("Parameter index out of range: " + std::to_string(index));
  return FItems[static_cast<std::size_t>(index)];
}

const TParameter& TParameters::operator[](int index) const {
  return const_cast<TParameters&>(*this)[index];
}

const TParameter* TParameters::FindParam(const std::string& name) const {
  for (const TParameter& parameter : FItems)
    if (platform::SameText(parameter.Name, name)) return &parameter;
  return nullptr;
}

TParameter* TParameters::FindParam(const std::string& name) {
  return const_cast<TParameter*>(std::as_const(*this).FindParam(name));
}

TParameter& TParameters::ParamByName(const std::string& name) {
  TParameter* parameter = FindParam(name);
  if (parameter == nullptr) throw EDatabaseError("Parameter '" + name + "' not found");
  return *parameter;
}

void TParameters::ParseSQL(const std::string& jetSql) {
  FItems.clear();
  for (std::string& name : ParameterNames(jetSql)) FItems.push_back({std::move(name), {}});
}

}  // namespace dbengine
