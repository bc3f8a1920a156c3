#include "SendDate.h"

#include "store/Cp950.h"
#include "store/EngineError.h"

namespace transfer {

std::string sendDateBytes(std::string_view utf8) {
  store::cp950::EncodeResult encoded = store::cp950::encode(utf8);
  if (!encoded.ok()) {
    throw store::EngineError(store::EngineError::Code::InvalidValue,
                             "入帳年月日含有 Big5 無法表示的字元: " + std::string(utf8));
  }
  return encoded.bytes;
}

bool passesDateFilter(std::string_view sendDate, std::string_view filter) {
  return sendDate.starts_with(filter);
}

}  // namespace transfer
