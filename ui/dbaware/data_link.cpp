#include "ui/dbaware/data_link.h"

namespace ui {

TDataLink::~TDataLink() {
  if (FDataSource != nullptr) FDataSource->RemoveListener(this);
}

void TDataLink::SetDataSource(dbengine::TDataSource* dataSource) {
  if (dataSource == FDataSource) return;
  if (FDataSource != nullptr) FDataSource->RemoveListener(this);
  FDataSource = dataSource;
  if (FDataSource != nullptr) FDataSource->AddListener(this);
  ActiveChanged();
}

dbengine::TDataSet* TDataLink::DataSet() const {
  return FDataSource != nullptr ? FDataSource->DataSet() : nullptr;
}

bool TDataLink::Active() const {
  const dbengine::TDataSet* dataSet = DataSet();
  return dataSet != nullptr && dataSet->Active();
}

}  // namespace ui
