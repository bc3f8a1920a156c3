// The table names of a query's SQL, replaced by the rows tables of their files: what is taken
// for a table name, what is left as it is, and the alias each table keeps.

#include <gtest/gtest.h>

#include "internal/TableNames.h"
#include "store/EngineError.h"

namespace {

struct Case {
  const char* sql;
  const char* rewritten;
  std::vector<std::string> files;
};

// Each file is attached as f1, f2, ... in the order the SQL names it.
store::TableNames rewrite(const std::string& sql) {
  int attached = 0;
  return store::rewriteTableNames(sql, [&](const std::string&) {
    std::string schema = "f";
    schema += std::to_string(++attached);
    return schema;
  });
}

const Case kCases[] = {
    // The reports' aggregates, written as the forms write them.
    {"Select Sum(PAY) From Temp\nWhere NUMBER =:NUMBER",
     "Select Sum(PAY) From \"f1\".data AS \"Temp\"\nWhere NUMBER =:NUMBER",
     {"Temp.DB"}},
    // Letter case of keywords and names; an extension as written.
    {"select count(*) from TEMP where PAY > 0",
     "select count(*) from \"f1\".data AS \"TEMP\" where PAY > 0",
     {"TEMP.DB"}},
    {"SELECT * FROM salary.db", "SELECT * FROM \"f1\".data AS \"salary\"", {"salary.db"}},
    // Quoted names.
    {"SELECT * FROM \"temp.DB\" WHERE 1",
     "SELECT * FROM \"f1\".data AS \"temp\" WHERE 1",
     {"temp.DB"}},
    {"SELECT * FROM [basic] JOIN `salary` USING (NUMBER)",
     "SELECT * FROM \"f1\".data AS \"basic\" JOIN \"f2\".data AS \"salary\" USING (NUMBER)",
     {"basic.DB", "salary.DB"}},
    // Aliases of the SQL's own.
    {"SELECT t.NUMBER FROM temp t", "SELECT t.NUMBER FROM \"f1\".data t", {"temp.DB"}},
    {"SELECT t.NUMBER FROM temp AS t", "SELECT t.NUMBER FROM \"f1\".data AS t", {"temp.DB"}},
    // Joins.
    {"SELECT * FROM basic b JOIN salary s ON b.NUMBER = s.NUMBER",
     "SELECT * FROM \"f1\".data b JOIN \"f2\".data s ON b.NUMBER = s.NUMBER",
     {"basic.DB", "salary.DB"}},
    {"SELECT * FROM basic LEFT OUTER JOIN salary ON basic.NUMBER = salary.NUMBER, item",
     "SELECT * FROM \"f1\".data AS \"basic\" LEFT OUTER JOIN \"f2\".data AS \"salary\" ON "
     "basic.NUMBER = salary.NUMBER, \"f3\".data AS \"item\"",
     {"basic.DB", "salary.DB", "item.DB"}},
    // Comma lists, and commas that separate no tables.
    {"SELECT basic.NAME, salary.PAY FROM basic, salary WHERE basic.NUMBER = salary.NUMBER "
     "ORDER BY basic.NAME, salary.PAY",
     "SELECT basic.NAME, salary.PAY FROM \"f1\".data AS \"basic\", \"f2\".data AS \"salary\" "
     "WHERE basic.NUMBER = salary.NUMBER ORDER BY basic.NAME, salary.PAY",
     {"basic.DB", "salary.DB"}},
    // Subqueries: a FROM list of their own, after which the outer one goes on or has ended.
    {"SELECT * FROM temp WHERE NUMBER IN (SELECT NUMBER FROM basic) AND substr(ID, 1, 2) = :P",
     "SELECT * FROM \"f1\".data AS \"temp\" WHERE NUMBER IN (SELECT NUMBER FROM \"f2\".data AS "
     "\"basic\") AND substr(ID, 1, 2) = :P",
     {"temp.DB", "basic.DB"}},
    {"SELECT * FROM (SELECT NUMBER, NAME FROM basic) b, salary s WHERE b.NUMBER = s.NUMBER",
     "SELECT * FROM (SELECT NUMBER, NAME FROM \"f1\".data AS \"basic\") b, \"f2\".data s WHERE "
     "b.NUMBER = s.NUMBER",
     {"basic.DB", "salary.DB"}},
    // Statements that write.
    {"Delete From Temp Where NAME = :NAME",
     "Delete From \"f1\".data AS \"Temp\" Where NAME = :NAME",
     {"Temp.DB"}},
    {"INSERT INTO temp(NUMBER) SELECT NUMBER FROM basic",
     "INSERT INTO \"f1\".data AS \"temp\"(NUMBER) SELECT NUMBER FROM \"f2\".data AS \"basic\"",
     {"temp.DB", "basic.DB"}},
    {"UPDATE temp SET PAY = 0", "UPDATE \"f1\".data AS \"temp\" SET PAY = 0", {"temp.DB"}},
    // Names inside literals, quoted column names and comments are not tables.
    {"SELECT * FROM temp WHERE MEMO = 'it''s from basic, salary'",
     "SELECT * FROM \"f1\".data AS \"temp\" WHERE MEMO = 'it''s from basic, salary'",
     {"temp.DB"}},
    {"SELECT \"from basic\" FROM temp",
     "SELECT \"from basic\" FROM \"f1\".data AS \"temp\"",
     {"temp.DB"}},
    {"SELECT * FROM temp -- from basic, salary\nWHERE 1",
     "SELECT * FROM \"f1\".data AS \"temp\" -- from basic, salary\nWHERE 1",
     {"temp.DB"}},
    {"SELECT /* from basic */ * FROM /* the batch */ temp /* , salary */ t",
     "SELECT /* from basic */ * FROM /* the batch */ \"f1\".data /* , salary */ t",
     {"temp.DB"}},
};

TEST(TableNames, EachTableNameBecomesItsFilesRowsTableAndNothingElseDoes) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.sql);
    const store::TableNames out = rewrite(c.sql);
    EXPECT_EQ(out.sql, c.rewritten);
    EXPECT_EQ(out.files, c.files);
  }
}

TEST(TableNames, AnUnclosedQuotedTableNameIsRefused) {
  EXPECT_THROW(rewrite("SELECT * FROM \"temp"), store::EngineError);
}

}  // namespace
