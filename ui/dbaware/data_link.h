#pragma once

#include "dbengine/data_source.h"

namespace ui {

// What a data-aware control keeps of its data source: it listens to the source for as long as it
// is bound to it, and answers which data set the source shows now. The data source must outlive
// the control or be unbound from it first.
class TDataLink : public dbengine::TDataSetListener {
 public:
  TDataLink() = default;
  TDataLink(const TDataLink&) = delete;
  TDataLink& operator=(const TDataLink&) = delete;
  ~TDataLink() override;

  dbengine::TDataSource* DataSource() const { return FDataSource; }
  // Binds to another source (or none) and tells the control as if the data set had opened.
  void SetDataSource(dbengine::TDataSource* dataSource);
  // The data set of the source; null when there is no source or it is bound to none.
  dbengine::TDataSet* DataSet() const;
  // A data set is bound and open.
  bool Active() const;

 private:
  dbengine::TDataSource* FDataSource = nullptr;
};

}  // namespace ui
