#include "dbengine/data_source.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "dbengine/table.h"
#include "dbengine/tests/test_database.h"

namespace dbengine {
namespace {

// Writes down every notification, one word each.
class Recorder : public TDataSetListener {
 public:
  // The notifications since the last call, each followed by a blank.
  std::string Take() {
    std::string events;
    for (const std::string& event : FEvents) events.append(event).append(" ");
    FEvents.clear();
    return events;
  }
  void ActiveChanged() override { FEvents.emplace_back("active"); }
  void StateChanged() override { FEvents.emplace_back("state"); }
  void RecordChanged(const TField* field) override {
    FEvents.emplace_back("record");
    FEvents.back().append("(").append(field != nullptr ? field->FieldName() : "*").append(")");
  }
  void DataSetChanged() override { FEvents.emplace_back("changed"); }
  void DataSetScrolled() override { FEvents.emplace_back("scrolled"); }

 private:
  std::vector<std::string> FEvents;
};

class DataSourceTest : public ::testing::Test {
 protected:
  DataSourceTest()
      : db({"CREATE TABLE people (a TEXT(10))", "INSERT INTO people VALUES ('x'),('y')"}) {
    for (TADOTable* table : {&first, &second}) {
      table->Connection = &db.conn;
      table->TableName = "people";
    }
    source.AddListener(&recorder);
  }

  testing::DatabaseFixture db;
  TADOTable first;
  TADOTable second;
  TDataSource source;
  Recorder recorder;
};

TEST_F(DataSourceTest, RelaysWhatItsDataSetDoes) {
  source.SetDataSet(&first);
  EXPECT_EQ(recorder.Take(), "active ");
  first.Open();
  EXPECT_EQ(recorder.Take(), "active ");
  first.Next();
  EXPECT_EQ(recorder.Take(), "scrolled ");
  first.Edit();
  first.FieldByName("a").SetAsString("z");
  EXPECT_EQ(recorder.Take(), "state record(a) ");
  first.Post();
  EXPECT_EQ(recorder.Take(), "state changed ");
  first.Insert();
  first.Cancel();
  EXPECT_EQ(recorder.Take(), "state changed state changed ");
  first.Edit();
  first.Cancel();
  EXPECT_EQ(recorder.Take(), "state state record(*) ");
  first.Close();
  EXPECT_EQ(recorder.Take(), "active ");
}

TEST_F(DataSourceTest, KeepsItsListenersWhenBoundToAnotherDataSet) {
  first.Open();
  second.Open();
  source.SetDataSet(&first);
  source.SetDataSet(&second);
  EXPECT_EQ(recorder.Take(), "active active ");
  first.Next();
  EXPECT_EQ(recorder.Take(), "") << "the old data set is no longer relayed";
  second.Next();
  EXPECT_EQ(recorder.Take(), "scrolled ");
  EXPECT_EQ(source.State(), dsBrowse);
}

TEST_F(DataSourceTest, ForgetsADataSetThatIsDestroyed) {
  auto table = std::make_unique<TADOTable>();
  table->Connection = &db.conn;
  table->TableName = "people";
  table->Open();
  source.SetDataSet(table.get());
  recorder.Take();
  table.reset();
  EXPECT_EQ(source.DataSet(), nullptr);
  EXPECT_EQ(source.State(), dsInactive);
  EXPECT_EQ(recorder.Take(), "active active ");
}

// A control holding a value it has not written yet (an open cell editor) is asked for it through
// the source before a pending record is stored or dropped, and the value is stored with it.
TEST_F(DataSourceTest, ControlsPutWhatTheyHoldIntoThePendingRecordBeforeAMove) {
  struct Holder : TDataSetListener {
    TDataSet* table = nullptr;
    int asked = 0;
    void UpdateData() override {
      ++asked;
      table->FieldByName("a").SetAsString("z");
    }
  } holder;
  holder.table = &first;
  source.SetDataSet(&first);
  source.AddListener(&holder);
  first.Open();
  first.Next();
  first.UpdateRecord();
  EXPECT_EQ(holder.asked, 0) << "nothing pending, nobody asked";

  first.Edit();
  first.First();  // the record was untouched until the holder was asked: it is stored, not dropped
  EXPECT_EQ(holder.asked, 1);
  second.Open();
  second.Last();
  EXPECT_EQ(second.FieldByName("a").AsString(), "z");
}

TEST_F(DataSourceTest, EditFollowsAutoEdit) {
  first.Open();
  source.SetDataSet(&first);
  source.AutoEdit = false;
  EXPECT_FALSE(source.Edit());
  EXPECT_EQ(first.State(), dsBrowse);
  source.AutoEdit = true;
  EXPECT_TRUE(source.Edit());
  EXPECT_EQ(first.State(), dsEdit);
}

TEST_F(DataSourceTest, AListenerMayLeaveWhileBeingTold) {
  struct Leaver : TDataSetListener {
    TDataSource* from = nullptr;
    int told = 0;
    void DataSetScrolled() override {
      ++told;
      from->RemoveListener(this);
    }
  } leaver;
  leaver.from = &source;
  source.AddListener(&leaver);
  source.SetDataSet(&first);
  first.Open();
  first.Next();
  first.Next();
  EXPECT_EQ(leaver.told, 1);
}

}  // namespace
}  // namespace dbengine
