// The structures of the five live tables, and the rules they enforce on rows.

#include <gtest/gtest.h>

#include "TestFolder.h"
#include "TestRows.h"
#include "store/EngineError.h"
#include "store/Schema.h"
#include "store/Table.h"

using store::EngineError;
using store::FieldType;
using testrows::thrownBy;
using Texts = std::vector<std::string>;

namespace {

struct Expected {
  const char* name;
  FieldType type;
  int width;
  bool required;
};

class SchemaTest : public ::testing::Test {
 protected:
  // The structure as the file in the folder carries it.
  void expectFields(const char* fileName, const std::vector<Expected>& expected) {
    SCOPED_TRACE(fileName);
    const store::TableSchema schema = s.schemaOf(fileName);
    ASSERT_EQ(schema.fields.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      const auto& f = schema.fields[i];
      EXPECT_EQ(f.name, expected[i].name) << "field " << i;
      EXPECT_EQ(f.type, expected[i].type) << expected[i].name;
      if (expected[i].type == FieldType::String) {
        EXPECT_EQ(f.width, expected[i].width) << f.name;
      }
      EXPECT_EQ(f.required, expected[i].required) << expected[i].name;
    }
  }
  std::vector<std::pair<std::string, Texts>> indexes(const char* fileName) {
    std::vector<std::pair<std::string, Texts>> out;
    for (const auto& ix : s.schemaOf(fileName).indexes) out.emplace_back(ix.name, ix.fields);
    return out;
  }

  TestFolder folder;
  store::Session& s = folder.session();
};

constexpr FieldType S = FieldType::String;
constexpr FieldType C = FieldType::Currency;

TEST_F(SchemaTest, LiveTableFileNames) {
  Texts names;
  for (const auto& t : store::liveTables()) names.push_back(t.fileName);
  EXPECT_EQ(names, (Texts{"basic.DB", "salary.DB", "item.DB", "pass.DB", "temp.DB"}));
}

TEST_F(SchemaTest, BasicHoldsTheEmployeeMaster) {
  expectFields("basic.DB", {{"NUMBER", S, 6, true},
                            {"ACCOUNT", S, 14, true},
                            {"NAME", S, 10, true},
                            {"ID", S, 10, false},
                            {"INDATE", S, 6, false},
                            {"LEVEL", S, 20, false},
                            {"MEMO", S, 40, false}});
  EXPECT_EQ(s.schemaOf("basic.DB").primaryKey, Texts{"NUMBER"});
  EXPECT_EQ(
      indexes("basic.DB"),
      (std::vector<std::pair<std::string, Texts>>{
          {"NUMBER", {"NUMBER"}}, {"ACCOUNT", {"ACCOUNT"}}, {"NAME", {"NAME"}}, {"ID", {"ID"}}}));
}

TEST_F(SchemaTest, SalaryHoldsThePayEntries) {
  expectFields("salary.DB", {{"NUMBER", S, 6, false},
                             {"SENDDATE", S, 6, false},
                             {"PAY", C, 0, false},
                             {"SALARYITEM", S, 20, false}});
  const auto schema = s.schemaOf("salary.DB");
  EXPECT_EQ(schema.primaryKey, (Texts{"NUMBER", "SENDDATE", "PAY", "SALARYITEM"}));
  EXPECT_EQ(indexes("salary.DB"),
            (std::vector<std::pair<std::string, Texts>>{
                {"SALARYSENDDATE", {"SENDDATE"}}, {"Salary Number", {"NUMBER", "SENDDATE"}}}));
  for (const auto& ix : schema.indexes) EXPECT_TRUE(ix.caseInsensitive) << ix.name;
}

TEST_F(SchemaTest, ItemHoldsTheSalaryItemCatalogue) {
  expectFields("item.DB", {{"SALARYITEM", S, 20, false}});
  EXPECT_EQ(s.schemaOf("item.DB").primaryKey, Texts{"SALARYITEM"});
  EXPECT_TRUE(s.schemaOf("item.DB").indexes.empty());
}

TEST_F(SchemaTest, PassHoldsUserCodesAndPasswords) {
  expectFields("pass.DB", {{"USERID", S, 8, true}, {"PASSWORD", S, 8, true}});
  EXPECT_EQ(s.schemaOf("pass.DB").primaryKey, Texts{"USERID"});
  EXPECT_EQ(indexes("pass.DB"), (std::vector<std::pair<std::string, Texts>>{
                                    {"PASSWORD", {"PASSWORD"}}, {"USERID", {"USERID"}}}));
}

TEST_F(SchemaTest, TempHoldsTheTransferBatchKeyedOnEveryField) {
  const std::vector<Expected> fields{
      {"NUMBER", S, 6, false},   {"SENDDATE", S, 6, false},    {"SUBJECT", S, 1, false},
      {"ACCOUNT", S, 14, false}, {"PAY", C, 0, false},         {"PAY1", S, 2, false},
      {"ID", S, 10, false},      {"SPACE", S, 4, false},       {"TRAN", S, 2, false},
      {"MEMO", S, 16, false},    {"SALARYITEM", S, 20, false}, {"NAME", S, 10, false}};
  expectFields("temp.DB", fields);
  Texts names;
  for (const auto& f : fields) names.push_back(f.name);
  EXPECT_EQ(s.schemaOf("temp.DB").primaryKey, names);
  EXPECT_TRUE(s.schemaOf("temp.DB").indexes.empty());
}

TEST_F(SchemaTest, SchemaTextRoundTrips) {
  for (const auto& t : store::liveTables()) {
    EXPECT_EQ(store::TableSchema::parse(t.schema.serialize()), t.schema) << t.fileName;
  }
  EXPECT_TRUE(thrownBy([] { store::TableSchema::parse("not a schema"); }).code.has_value());
}

TEST_F(SchemaTest, TwoEntriesOfOneEmployeeOnOneDateWithDifferentItemsAreBothStored) {
  testrows::addEntry(s, "000001", "880105", 35000, "本薪");
  testrows::addEntry(s, "000001", "880105", 35000, "加班費");
  testrows::addEntry(s, "000001", "880105", 2000, "本薪");
  EXPECT_EQ(testrows::entries(s), (Texts{"000001 880105 2000 本薪", "000001 880105 35000 加班費",
                                         "000001 880105 35000 本薪"}));
}

TEST_F(SchemaTest, EntryEqualInAllFourFieldsIsRefused) {
  testrows::addEntry(s, "000001", "880105", 35000, "本薪");
  store::Table salary(s, "salary.DB");
  salary.Open();
  salary.Append();
  salary.FieldByName("NUMBER").setText("000001");
  salary.FieldByName("SENDDATE").setText("880105");
  salary.FieldByName("PAY").setText("35000");
  salary.FieldByName("SALARYITEM").setText("本薪");
  EXPECT_EQ(thrownBy([&] { salary.Post(); }).code, EngineError::Code::KeyViolation);
  EXPECT_EQ(testrows::entries(s), Texts{"000001 880105 35000 本薪"});
}

TEST_F(SchemaTest, NameHoldsFiveChineseCharactersAndRefusesASixth) {
  store::Table basic(s, "basic.DB");
  basic.Open();
  basic.Append();
  basic.FieldByName("NUMBER").setText("000001");
  basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  basic.FieldByName("NAME").setText("歐陽春花美");
  auto thrown = thrownBy([&] { basic.FieldByName("NAME").setText("歐陽春花美麗"); });
  EXPECT_EQ(thrown.code, EngineError::Code::InvalidValue);
  EXPECT_NE(thrown.message.find("NAME"), std::string::npos) << thrown.message;
  EXPECT_EQ(basic.FieldByName("NAME").text(), "歐陽春花美");
  basic.Post();
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), Texts{"歐陽春花美"});
  EXPECT_EQ(basic.FieldByName("NAME").bytes().size(), 10u);
}

TEST_F(SchemaTest, RefusedSixCharacterNameWritesNothing) {
  store::Table basic(s, "basic.DB");
  basic.Open();
  basic.Append();
  basic.FieldByName("NUMBER").setText("000001");
  basic.FieldByName("ACCOUNT").setText(testrows::kAccount);
  EXPECT_EQ(thrownBy([&] { basic.FieldByName("NAME").setText("歐陽春花美麗"); }).code,
            EngineError::Code::InvalidValue);
  EXPECT_EQ(thrownBy([&] { basic.Post(); }).code, EngineError::Code::RequiredField);
  EXPECT_EQ(testrows::fileCount(s, "basic.DB"), 0);
}

TEST_F(SchemaTest, TenLatinLettersFitAName) {
  testrows::addEmployee(s, "000001", "ABCDEFGHIJ");
  EXPECT_EQ(testrows::fileColumn(s, "basic.DB", "NAME"), Texts{"ABCDEFGHIJ"});
  store::Table basic(s, "basic.DB");
  basic.Open();
  basic.Edit();
  EXPECT_EQ(thrownBy([&] { basic.FieldByName("NAME").setText("ABCDEFGHIJK"); }).code,
            EngineError::Code::InvalidValue);
}

TEST_F(SchemaTest, UserCodesDifferingOnlyInCaseAreDistinctRows) {
  testrows::addUser(s, "admin", "1111");
  testrows::addUser(s, "ADMIN", "2222");
  testrows::addUser(s, "Admin", "3333");
  EXPECT_EQ(testrows::fileCount(s, "pass.DB"), 3);
  store::Table pass(s, "pass.DB");
  pass.Open();
  pass.SetKey();
  pass.FieldByName("USERID").setText("ADMIN");
  ASSERT_TRUE(pass.GotoKey());
  EXPECT_EQ(pass.FieldByName("PASSWORD").text(), "2222");
  pass.SetKey();
  pass.FieldByName("USERID").setText("admin");
  ASSERT_TRUE(pass.GotoKey());
  EXPECT_EQ(pass.FieldByName("PASSWORD").text(), "1111");
  // The same code in the same case is a duplicate.
  pass.Append();
  pass.FieldByName("USERID").setText("Admin");
  pass.FieldByName("PASSWORD").setText("4444");
  EXPECT_EQ(thrownBy([&] { pass.Post(); }).code, EngineError::Code::KeyViolation);
}

TEST_F(SchemaTest, UserWithoutPasswordIsRefused) {
  store::Table pass(s, "pass.DB");
  pass.Open();
  pass.Append();
  pass.FieldByName("USERID").setText("clerk");
  EXPECT_EQ(thrownBy([&] { pass.Post(); }).code, EngineError::Code::RequiredField);
  EXPECT_EQ(testrows::fileCount(s, "pass.DB"), 0);
}

TEST_F(SchemaTest, TheSixteenSalaryItemsFitTheirField) {
  EXPECT_EQ(store::defaultSalaryItems().size(), 16u);
  for (const auto& item : store::defaultSalaryItems()) {
    store::Table t(s, "item.DB");
    t.Open();
    t.Append();
    t.FieldByName("SALARYITEM").setText(item);
    t.Post();
  }
  EXPECT_EQ(testrows::fileCount(s, "item.DB"), 16);
}

}  // namespace
