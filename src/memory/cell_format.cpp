#include "memory/cell_format.h"

#include <mutex>
#include <set>

namespace tezlo {

const std::string* InternNumberFormat(std::string_view format) {
  static std::mutex mutex;
  static std::set<std::string, std::less<>> pool;
  const std::lock_guard<std::mutex> lock(mutex);
  auto it = pool.find(format);
  if (it == pool.end()) it = pool.emplace(format).first;
  return &*it;
}

CellFormat FormatOf(const CellRecord& record) {
  CellFormat f;
  if (const auto& own = record.OwnNumberFormat()) f.numberFormat = InternNumberFormat(*own);
  f.style = record.style;
  f.colorIndex = record.colorIndex;
  f.quotePrefix = record.quotePrefix;
  return f;
}

void ApplyFormat(CellRecord& record, const CellFormat& format) {
  if (format.numberFormat != nullptr) {
    record.Extras().numberFormat = *format.numberFormat;
  } else if (record.extras) {
    record.extras->numberFormat.reset();
    record.TrimExtras();
  }
  record.style = format.style;
  record.colorIndex = format.colorIndex;
  record.quotePrefix = format.quotePrefix;
}

}  // namespace tezlo
