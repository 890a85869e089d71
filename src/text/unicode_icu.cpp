#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/stringpiece.h>
#include <unicode/uchar.h>
#include <unicode/uscript.h>

#include <memory>

#include "text/unicode.h"

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

}  // namespace

int32_t FoldCodePoint(int32_t c) {
  if (c < 0x80) return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
  return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

int CompareChinese(std::string_view a, std::string_view b) {
  if (const icu::Collator* collator = ChineseCollator()) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r =
        collator->compareUTF8(icu::StringPiece(a.data(), static_cast<int32_t>(a.size())),
                              icu::StringPiece(b.data(), static_cast<int32_t>(b.size())), status);
    if (U_SUCCESS(status)) return r;
  }
  return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

}  // namespace tezlo
