#include "memory/sort_order.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>
#include <unicode/uscript.h>

#include <memory>

namespace tezlo {

namespace {

// The zh collation orders Chinese by pinyin; secondary strength ignores case (and other
// tertiary differences) so that "a" and "A" tie, as the spreadsheet's sort does. The zh default
// puts Han before Latin; the spreadsheet on Windows sorts Latin letters first, so the scripts
// are reordered. ICU collators are not safe to share between threads while comparing, so each
// thread keeps its own.
const icu::Collator* ChineseCollator() {
  thread_local const std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> c(icu::Collator::createInstance(icu::Locale("zh"), status));
    if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
    c->setStrength(icu::Collator::SECONDARY);
    const int32_t order[] = {USCRIPT_LATIN, USCRIPT_HAN};
    c->setReorderCodes(order, 2, status);
    if (U_FAILURE(status)) return std::unique_ptr<icu::Collator>();
    return c;
  }();
  return collator.get();
}

int CompareText(const std::string& a, const std::string& b) {
  if (const icu::Collator* collator = ChineseCollator()) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r =
        collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                              icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    if (U_SUCCESS(status)) return r;
  }
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);  // no collator data: byte order
}

// Rank of the kinds in ascending order; empty values go last.
int Rank(const Value& v) {
  switch (v.Kind()) {
    case ValueKind::Number:
    case ValueKind::Date: return 0;
    case ValueKind::Text: return 1;
    case ValueKind::Boolean: return 2;
    case ValueKind::Error: return 3;
    case ValueKind::Empty: return 4;
  }
  return 4;
}

}  // namespace

int CompareForSort(const Value& a, const Value& b) {
  const int ra = Rank(a);
  const int rb = Rank(b);
  if (ra != rb) return ra < rb ? -1 : 1;
  switch (ra) {
    case 0: {
      const double x = a.AsNumber();
      const double y = b.AsNumber();
      return x < y ? -1 : (x > y ? 1 : 0);
    }
    case 1: return CompareText(a.AsText(), b.AsText());
    case 2: return static_cast<int>(a.AsBoolean()) - static_cast<int>(b.AsBoolean());
    default: return 0;
  }
}

}  // namespace tezlo
