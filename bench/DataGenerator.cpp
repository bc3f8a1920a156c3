#include "bench/DataGenerator.h"

#include <array>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "store/Schema.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"

namespace bench {

namespace {

// SplitMix64: fixed arithmetic, so the same variant gives the same tables with any compiler and
// standard library (the distributions of <random> are not specified bit for bit).
class Rng {
 public:
  explicit Rng(std::uint64_t variant) : state_(variant) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // A whole number in [0, n).
  unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }
  bool oneIn(unsigned n) { return below(n) == 0; }

 private:
  std::uint64_t state_;
};

// Every character below is in code page 950; 許, 功 and 蓋 have 0x5C as their second byte.
const std::array<const char*, 52> kSurnames = {
    "陳", "林", "黃", "張", "李", "王", "吳", "劉", "蔡", "楊", "許", "鄭",   "謝",
    "郭", "洪", "曾", "邱", "廖", "賴", "周", "徐", "蘇", "葉", "莊", "呂",   "江",
    "何", "蕭", "羅", "高", "簡", "朱", "鍾", "施", "游", "詹", "沈", "彭",   "胡",
    "余", "盧", "潘", "顏", "梁", "趙", "柯", "翁", "魏", "方", "孫", "歐陽", "司馬"};

const std::array<const char*, 64> kGiven = {
    "志", "明", "俊", "傑", "建", "宏", "文", "雅", "婷", "淑", "芬", "美", "玲", "怡", "君", "家",
    "豪", "冠", "宇", "承", "恩", "佳", "慧", "秀", "英", "麗", "華", "國", "強", "信", "忠", "德",
    "興", "正", "義", "智", "偉", "嘉", "欣", "宜", "靜", "惠", "珍", "玉", "鳳", "春", "金", "龍",
    "祥", "榮", "輝", "威", "瑞", "銘", "哲", "凱", "翔", "庭", "涵", "萱", "功", "蓋", "碁", "柏"};

const std::array<const char*, 8> kLevels = {"科員", "專員", "組長",   "課長",
                                            "副理", "經理", "技術員", "約聘人員"};

const std::array<const char*, 4> kMemos = {"留職停薪", "兼任", "外派", "試用期間"};

// The numeric values that letters of a national ID stand for in its check digit.
constexpr std::array<int, 26> kIdLetterCodes = {10, 11, 12, 13, 14, 15, 16, 17, 34, 18, 19, 20, 21,
                                                22, 35, 23, 24, 25, 26, 27, 28, 29, 32, 30, 31, 33};

// The first month of entries and the last one that a six-character ROC date can hold.
constexpr int kFirstYear = 87;
constexpr int kMonthsAvailable = (99 - kFirstYear + 1) * 12;

std::string employeeNumber(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06d", i);
  return buf;
}

std::string employeeName(Rng& rng) {
  std::string name = kSurnames[rng.below(kSurnames.size())];
  const int givenCount = rng.oneIn(8) ? 1 : 2;
  for (int k = 0; k < givenCount; ++k) name += kGiven[rng.below(kGiven.size())];
  return name;
}

// Branch (4), account type (2), serial (7), check digit (1): 14 digits.
std::string accountNumber(Rng& rng, int i) {
  const unsigned branch = 1000 + rng.below(400);
  const unsigned type = 10 + rng.below(3);
  char body[16];
  std::snprintf(body, sizeof body, "%04u%02u%07d", branch, type, i % 10000000);
  int sum = 0;
  for (int k = 0; body[k] != '\0'; ++k) sum += (body[k] - '0') * (k % 2 == 0 ? 3 : 1);
  return std::string(body) + static_cast<char>('0' + (10 - sum % 10) % 10);
}

// A well-formed national ID: letter, sex digit, seven digits, check digit.
std::string nationalId(Rng& rng) {
  const unsigned letter = rng.below(26);
  std::string id(1, static_cast<char>('A' + letter));
  id += static_cast<char>('1' + rng.below(2));
  for (int k = 0; k < 7; ++k) id += static_cast<char>('0' + rng.below(10));
  const int code = kIdLetterCodes[letter];
  int sum = code / 10 + (code % 10) * 9;
  for (int k = 1; k <= 8; ++k) sum += (id[k] - '0') * (9 - k);
  id += static_cast<char>('0' + (10 - sum % 10) % 10);
  return id;
}

std::string joinDate(Rng& rng) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02u%02u%02u", 65 + rng.below(22), 1 + rng.below(12),
                1 + rng.below(28));
  return buf;
}

// Month `index` counted from 8701, on day 05: 0 -> "870105", 14 -> "880305".
std::string sendDate(int index) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%02d%02d05", kFirstYear + index / 12, index % 12 + 1);
  return buf;
}

double amount(Rng& rng) {
  double pay = 20000 + rng.below(60001);
  if (pay < 80000 && rng.oneIn(16)) pay += 0.5;
  return pay;
}

void fillEmployees(store::Session& session, const DataSize& size, Rng& rng) {
  store::Transaction tx(session, {"basic.DB"});
  {
    store::Table basic(session, "basic.DB");
    basic.SetIndexFieldNames("NUMBER");
    basic.Open();
    store::Field number = basic.FieldByName("NUMBER");
    store::Field account = basic.FieldByName("ACCOUNT");
    store::Field name = basic.FieldByName("NAME");
    store::Field id = basic.FieldByName("ID");
    store::Field indate = basic.FieldByName("INDATE");
    store::Field level = basic.FieldByName("LEVEL");
    store::Field memo = basic.FieldByName("MEMO");
    for (int i = 1; i <= size.employees; ++i) {
      basic.Append();
      number.setText(employeeNumber(i));
      account.setText(accountNumber(rng, i));
      name.setText(employeeName(rng));
      if (!rng.oneIn(50)) id.setText(nationalId(rng));
      indate.setText(joinDate(rng));
      level.setText(kLevels[rng.below(kLevels.size())]);
      if (rng.oneIn(20)) memo.setText(kMemos[rng.below(kMemos.size())]);
      basic.Post();
    }
    basic.Close();
  }
  tx.commit();
}

void fillEntries(store::Session& session, const DataSize& size, Rng& rng) {
  const std::vector<std::string>& items = store::defaultSalaryItems();
  const long long perEmployee = size.entries / size.employees;
  const long long extra = size.entries % size.employees;

  store::Transaction tx(session, {"salary.DB"});
  {
    store::Table salary(session, "salary.DB");
    salary.Open();
    store::Field number = salary.FieldByName("NUMBER");
    store::Field senddate = salary.FieldByName("SENDDATE");
    store::Field pay = salary.FieldByName("PAY");
    store::Field item = salary.FieldByName("SALARYITEM");
    for (int i = 1; i <= size.employees; ++i) {
      const std::string num = employeeNumber(i);
      const long long count = perEmployee + (i <= extra ? 1 : 0);
      for (long long month = 0; month < count; ++month) {
        salary.Append();
        number.setText(num);
        senddate.setText(sendDate(static_cast<int>(month)));
        pay.setNumber(amount(rng));
        item.setText(rng.oneIn(10) ? items[rng.below(items.size())] : items.front());
        salary.Post();
      }
    }
    salary.Close();
  }
  tx.commit();
}

}  // namespace

void generate(store::Session& session, const DataSize& size) {
  if (size.employees < 1 || size.employees > 999999)
    throw std::invalid_argument("employees must be between 1 and 999999");
  if (size.entries < 0) throw std::invalid_argument("entries must not be negative");
  // One entry per month and employee: more than the months up to 9912 would need a
  // seven-character date.
  const long long mostPerEmployee = (size.entries + size.employees - 1) / size.employees;
  if (mostPerEmployee > kMonthsAvailable)
    throw std::invalid_argument("at most " + std::to_string(kMonthsAvailable) +
                                " entries per employee fit in six-character dates");

  Rng rng(size.variant);
  fillEmployees(session, size, rng);
  fillEntries(session, size, rng);
}

std::string sixDigits(int i) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%06d", i);
  return buf;
}

void goTo(store::Table& employees, const std::string& number) {
  employees.SetKey();
  employees.FieldByName("NUMBER").setText(number);
  if (!employees.GotoKey()) throw std::runtime_error("no employee " + number);
}

// One employee after the last with `count` entries, one a month from 7001 on.
std::string addEmployeeWithEntries(const std::filesystem::path& folder, int count) {
  store::Session session(folder);
  session.AddPassword(store::kTablePassword);
  store::Table basic(session, "basic.DB");
  basic.SetIndexFieldNames("NUMBER");
  basic.Open();
  basic.Last();
  if (basic.IsEmpty()) throw std::runtime_error("no employees in the data folder");
  const std::string number = sixDigits(std::stoi(basic.FieldByName("NUMBER").text()) + 1);
  store::Table salary(session, "salary.DB");
  salary.Open();
  store::Transaction tx(session, {"basic.DB", "salary.DB"});
  basic.Append();
  basic.FieldByName("NUMBER").setText(number);
  basic.FieldByName("ACCOUNT").setText("99990000000001");
  basic.FieldByName("NAME").setText("林多筆");
  basic.Post();
  for (int i = 0; i < count; ++i) {
    char date[16];
    std::snprintf(date, sizeof date, "%02d%02d05", 70 + i / 12, i % 12 + 1);
    salary.Append();
    salary.FieldByName("NUMBER").setText(number);
    salary.FieldByName("SENDDATE").setText(date);
    salary.FieldByName("PAY").setNumber(30000 + i);
    salary.FieldByName("SALARYITEM").setText("薪水轉帳");
    salary.Post();
  }
  tx.commit();
  return number;
}

}  // namespace bench
