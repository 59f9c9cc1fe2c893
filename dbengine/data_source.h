#pragma once

#include "dbengine/dataset.h"
#include "dbengine/listener_list.h"

namespace dbengine {

// Stands between a dataset and the controls that show it: relays the dataset's notifications to
// its own listeners, and keeps them when it is bound to another dataset.
class TDataSource : private TDataSetListener {
 public:
  TDataSource() = default;
  TDataSource(const TDataSource&) = delete;
  TDataSource& operator=(const TDataSource&) = delete;
  ~TDataSource() override;

  bool AutoEdit = true;

  TDataSet* DataSet() const { return FDataSet; }
  void SetDataSet(TDataSet* dataSet);
  // The bound dataset's state; dsInactive when none is bound.
  TDataSetState State() const;
  // What a control does before it changes a value: puts a browsing dataset into edit mode when
  // AutoEdit allows; answers whether the dataset is now in edit or insert mode.
  bool Edit();

  void AddListener(TDataSetListener* listener);
  void RemoveListener(TDataSetListener* listener);

 private:
  void ActiveChanged() override;
  void StateChanged() override;
  void RecordChanged(const TField* field) override;
  void DataSetChanged() override;
  void DataSetScrolled() override;
  void DataSetDestroying() override;
  void UpdateData() override;

  TDataSet* FDataSet = nullptr;
  ListenerList FListeners;
};

}  // namespace dbengine
