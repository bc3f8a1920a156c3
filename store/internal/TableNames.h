#pragma once
// TableNames (engine internal): the table names of a query's SQL, replaced by the rows tables
// of their files, as Query prepares its statement.
//
// A query names its tables by file name, with or without ".DB", in any letter case and quoted
// or not ("From Temp", "FROM \"temp.DB\""). A name is a word that follows FROM, JOIN, INTO or
// UPDATE, or a comma of a FROM list (also after a JOIN's ON condition). Each becomes the rows
// table of its file's attachment, `"f3".data`, followed by ` AS "Temp"` (the name as written,
// without its extension) unless the SQL gives the table an alias, so that columns qualified by
// the table's name still resolve. A FROM list inside parentheses (a subquery) is its own list;
// after the parenthesis the outer list goes on. Nothing inside a string literal, a quoted
// column name or a comment is taken for a table name. Keywords match in any letter case.

#include <functional>
#include <string>
#include <vector>

namespace store {

struct TableNames {
  std::string sql;                 // the SQL to prepare
  std::vector<std::string> files;  // the file names, in the order the SQL names them
};

// Replaces the table names of `sql`. `attachmentOf` gives the schema name of a file ("f3") from
// its file name with its extension ("Temp.DB"), and may throw; its failure is the rewrite's.
// Throws EngineError when a quoted table name is not closed.
TableNames rewriteTableNames(const std::string& sql,
                             const std::function<std::string(const std::string&)>& attachmentOf);

}  // namespace store
