#pragma once
// The demo database's tables: the four billing tables the dashboard reads,
// with the columns it needs. Date-times are local-time text
// 'YYYY-MM-DD HH:MM:SS' in columns declared DATETIME, amounts REAL, codes and
// names TEXT, jfsj TEXT 'yyyymm'. docs/demo-database.md describes it for
// people who load their own data.
#include <sqlite3.h>

namespace kvet::sqlite {

// CREATE TABLE statements, separated by semicolons.
const char* demoSchemaSql();
// The indexes that keep the ticker's join and the fee view quick; made after
// the rows are in, which is faster than keeping them up to date row by row.
const char* demoIndexSql();

// Creates the tables in db; fails when one of them exists.
void createDemoSchema(sqlite3* db);
void createDemoIndexes(sqlite3* db);

} // namespace kvet::sqlite
