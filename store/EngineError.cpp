#include "EngineError.h"

#include <cerrno>
#include <filesystem>
#include <new>
#include <system_error>

namespace store {

EngineError EngineError::of(Code code, std::string file, std::string field, std::string detail) {
  const std::string text = message(code, file, field, detail);
  return EngineError(code, std::move(file), std::move(field), std::move(detail), text);
}

EngineError EngineError::fromErrno(int error, std::string file) {
  switch (error) {
    case ENOSPC:
    case EDQUOT:
      return of(Code::DiskFull, std::move(file));
    case EFBIG:
      return of(Code::DiskFull, std::move(file), {}, "檔案超過磁碟或系統允許的大小");
    case EROFS:
    case EACCES:
    case EPERM:
    case ETXTBSY:
      return of(Code::ReadOnly, std::move(file));
    case EIO:
      return of(Code::IoError, std::move(file));
    case ENOENT:
    case ENOTDIR:
      return of(Code::MissingFile, std::move(file));
    case EISDIR:
      return of(Code::General, std::move(file), {}, "這是資料夾,不是檔案");
    default:
      return of(Code::General, std::move(file), {}, "系統錯誤代碼 " + std::to_string(error));
  }
}

EngineError EngineError::from(std::exception_ptr exception) {
  try {
    std::rethrow_exception(exception);
  } catch (const EngineError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return of(Code::General, {}, {}, "記憶體不足,作業未完成");
  } catch (const std::filesystem::filesystem_error& e) {
    if (e.code().category() == std::generic_category() ||
        e.code().category() == std::system_category()) {
      return fromErrno(e.code().value(), e.path1().string());
    }
    return of(Code::General, e.path1().string(), {}, "檔案作業失敗,作業未完成");
  } catch (...) {
    return of(Code::General, {}, {}, "發生未預期的錯誤,作業未完成");
  }
}

std::string EngineError::message(Code code, const std::string& file, const std::string& field,
                                 const std::string& detail) {
  const std::string tail = detail.empty() ? std::string() : ": " + detail;
  const std::string table = file.empty() ? std::string("資料表") : "資料表 " + file;
  switch (code) {
    case Code::MissingFile:
      return "找不到 " + file + tail;
    case Code::BadPassword:
      return table + " 的密碼不符,無法開啟" + tail;
    case Code::KeyViolation:
      return "資料重複: " + table + " 已有相同鍵值的資料" + tail;
    case Code::RequiredField:
      return table + " 的欄位 " + field + " 必須輸入資料" + tail;
    case Code::InvalidValue:
      return (field.empty() ? table : "欄位 " + field) + tail;
    case Code::WrongState:
      return (file.empty() ? std::string() : table + ": ") + detail;
    case Code::EmptyTable:
      return table + " 沒有可刪除的資料" + tail;
    case Code::UnknownField:
      return table + " 沒有欄位 " + field + tail;
    case Code::Busy:
      return table + " 正由其他程式使用中,請稍後再試" + tail;
    case Code::DiskFull:
      return "磁碟已滿,無法寫入 " + file + tail;
    case Code::ReadOnly:
      return "無法寫入 " + file + ": 磁碟或資料夾為唯讀或沒有寫入權限" + tail;
    case Code::IoError:
      return "讀寫 " + file + " 時發生輸入/輸出錯誤,磁碟或磁片可能有問題" + tail;
    case Code::NotATable:
      return file + " 不是本系統的資料表檔案,或已損毀" + tail;
    case Code::Aborted:
      return "先前的錯誤已中止這次作業," + file + " 沒有寫入任何變更" + tail;
    case Code::General:
      break;
  }
  return (file.empty() ? std::string() : file + ": ") +
         (detail.empty() ? std::string("資料庫作業失敗") : detail);
}

}  // namespace store
