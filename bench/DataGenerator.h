#pragma once
// Deterministic test data for the benchmarks: employees 000001.. with accounts, names and IDs,
// and their pay entries spread over consecutive months, written through the engine.

#include <cstdint>
#include <filesystem>
#include <string>

namespace store {
class Session;
class Table;
}  // namespace store

namespace bench {

struct DataSize {
  int employees = 50000;
  long long entries = 1400000;
  std::uint32_t variant = 1;
};

// REQUIRES: basic.DB and salary.DB exist in the session's folder and are empty.
// Employee i (from 1) has number i as six digits. Entries are dealt out evenly: every employee
// gets entries/employees of them (the first entries%employees employees one more), one per
// month on day 05 from 8701 on, so month "8803" holds one entry of nearly every employee
// whenever each has at least 15. Amounts are whole numbers from 20000 to 80000, now and then
// with ".5"; items are mostly "薪水轉帳". Runs in one transaction per table.
void generate(store::Session& session, const DataSize& size);

// An employee number: i as six digits.
std::string sixDigits(int i);
// SetKey, NUMBER, GotoKey; throws when there is no such employee.
void goTo(store::Table& employees, const std::string& number);
// One employee after the last of the folder with `count` entries, one a month from 7001 on, in
// one transaction; returns its number.
std::string addEmployeeWithEntries(const std::filesystem::path& folder, int count);

}  // namespace bench
