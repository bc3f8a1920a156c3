#include "TransferItemCodes.h"

#include <string>
#include <vector>

#include "store/Cp950.h"

namespace transfer {

namespace {

struct CodedItem {
  const char* item;  // UTF-8
  ItemCode code;
};

constexpr CodedItem kItemCodes[] = {
    {"薪水轉帳", {'2', "SA"}},       {" ", {'2', "SA"}},          {"", {'2', "SA"}},
    {"股利發放", {'2', "PS"}},       {"事業費用", {'1', "PF"}},   {"批次轉帳(扣款)", {'1', "BT"}},
    {"批次轉帳(入帳)", {'2', "BT"}}, {"退稅", {'2', "RX"}},       {"代收稅款", {'1', "PX"}},
    {"信用卡款", {'1', "PC"}},       {"代扣保費", {'1', "IS"}},   {"保險給付", {'1', "IV"}},
    {"電話費", {'1', "PT"}},         {"電費", {'1', "PE"}},       {"水費", {'1', "PW"}},
    {"瓦斯費", {'1', "PG"}},         {"轉帳(扣款)", {'1', "TR"}}, {"轉帳(入帳)", {'2', "TR"}},
};

struct StoredItem {
  std::string bytes;
  ItemCode code;
};

const std::vector<StoredItem>& storedItems() {
  static const std::vector<StoredItem> items = [] {
    std::vector<StoredItem> v;
    for (const auto& c : kItemCodes) v.push_back({store::cp950::encode(c.item).bytes, c.code});
    return v;
  }();
  return items;
}

}  // namespace

std::optional<ItemCode> itemCode(std::string_view salaryItem) {
  for (const auto& s : storedItems()) {
    if (s.bytes == salaryItem) return s.code;
  }
  return std::nullopt;
}

}  // namespace transfer
