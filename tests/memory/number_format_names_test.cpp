#include "memory/number_format_names.h"

#include <gtest/gtest.h>

#include <set>

namespace tezlo {
namespace {

TEST(NumberFormatNames, GeneralHasALocalName) {
  EXPECT_EQ(CanonicalNumberFormat("G/通用格式"), "General");
  EXPECT_EQ(CanonicalNumberFormat("g/通用格式"), "General");
  EXPECT_EQ(LocalNumberFormat("General"), "G/通用格式");
  EXPECT_EQ(LocalNumberFormat("GENERAL"), "G/通用格式");
  EXPECT_EQ(CanonicalNumberFormat("G/通用格式;-G/通用格式"), "General;-General");
  EXPECT_EQ(LocalNumberFormat("General\"元\""), "G/通用格式\"元\"");
}

TEST(NumberFormatNames, OtherFormatsPassThrough) {
  for (const char* f :
       {"@", "yyyy/m/d", "yyyy-mm-dd", "0.00", "0%", "#,##0", "yyyy\"年\"m\"月\"d\"日\"", ""}) {
    EXPECT_EQ(CanonicalNumberFormat(f), f);
    EXPECT_EQ(LocalNumberFormat(f), f);
  }
  // Quoted or escaped letters are literals, not the format's name.
  EXPECT_EQ(LocalNumberFormat("0 \"General\""), "0 \"General\"");
  EXPECT_EQ(CanonicalNumberFormat("0\\G/通用格式"), "0\\G/通用格式");
}

TEST(PaletteColor, DefaultPalette) {
  EXPECT_EQ(PaletteColor(1), 0x000000u);
  EXPECT_EQ(PaletteColor(2), 0xFFFFFFu);
  EXPECT_EQ(PaletteColor(3), 0xFF0000u);
  EXPECT_EQ(PaletteColor(6), 0xFFFF00u);
  EXPECT_EQ(PaletteColor(15), 0xC0C0C0u);
  EXPECT_EQ(PaletteColor(36), 0xFFFF99u);
  EXPECT_EQ(PaletteColor(43), 0x99CC00u);
  EXPECT_EQ(PaletteColor(56), 0x333333u);
}

TEST(PaletteColor, OutOfRangeIsZero) {
  EXPECT_EQ(PaletteColor(0), 0u);
  EXPECT_EQ(PaletteColor(57), 0u);
  EXPECT_EQ(PaletteColor(-4142), 0u);  // xlColorIndexNone
}

TEST(PaletteColor, RepeatsOnlyWhereThePaletteDoes) {
  // The default palette holds 46 distinct colours: ten of its 56 entries repeat earlier ones.
  std::set<uint32_t> distinct;
  for (int32_t i = 1; i <= 56; ++i) distinct.insert(PaletteColor(i));
  EXPECT_EQ(distinct.size(), 46u);
}

}  // namespace
}  // namespace tezlo
