#include "dbengine/data_source.h"

namespace dbengine {

TDataSource::~TDataSource() {
  if (FDataSet != nullptr) FDataSet->RemoveListener(this);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
  if (dataSet == FDataSet) return;
  if (FDataSet != nullptr) FDataSet->RemoveListener(this);
  FDataSet = dataSet;
  if (FDataSet != nullptr) FDataSet->AddListener(this);
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}

TDataSetState TDataSource::State() const {
  return FDataSet != nullptr ? FDataSet->State() : dsInactive;
}

bool TDataSource::Edit() {
  if (FDataSet == nullptr) return false;
  if (AutoEdit && FDataSet->State() == dsBrowse) FDataSet->Edit();
  return FDataSet->State() == dsEdit || FDataSet->State() == dsInsert;
}

void TDataSource::AddListener(TDataSetListener* listener) {
  FListeners.Add(listener);
}

void TDataSource::RemoveListener(TDataSetListener* listener) {
  FListeners.Remove(listener);
}

void TDataSource::ActiveChanged() {
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}
void TDataSource::StateChanged() {
  FListeners.Notify(&TDataSetListener::StateChanged);
}
void TDataSource::RecordChanged(const TField* field) {
  FListeners.Notify(&TDataSetListener::RecordChanged, field);
}
void TDataSource::DataSetChanged() {
  FListeners.Notify(&TDataSetListener::DataSetChanged);
}
void TDataSource::DataSetScrolled() {
  FListeners.Notify(&TDataSetListener::DataSetScrolled);
}

void TDataSource::UpdateData() {
  FListeners.Notify(&TDataSetListener::UpdateData);
}

void TDataSource::DataSetDestroying() {
  FDataSet = nullptr;
  FListeners.Notify(&TDataSetListener::ActiveChanged);
}

}  // namespace dbengine
