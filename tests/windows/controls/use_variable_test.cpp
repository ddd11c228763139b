// Use variables shown and read back through the pictures of the utility's
// controls.
#include <gtest/gtest.h>

#include "support/row_name.h"

#include <cstring>

#include "windows/controls/use_variable.h"

namespace dove::win {
namespace {

TEST(UseVariable, NumbersAreCutToTheirType) {
  uint8_t b = 7;
  int16_t s = 0;
  int32_t l = 0;
  WriteUseText({&b, kUseByte, 1}, "300");
  WriteUseText({&s, kUseShort, 2}, "-40000");
  WriteUseText({&l, kUseLong, 4}, "12abc");
  EXPECT_EQ(b, 255);
  EXPECT_EQ(s, -32768);
  EXPECT_EQ(l, 12);
  EXPECT_EQ(ReadUseText({&l, kUseLong, 4}), "12");
  int32_t tooSmall = 5;
  WriteUseText({&tooSmall, kUseLong, 2}, "9");  // size below the type: left alone
  EXPECT_EQ(tooSmall, 5);
}

TEST(UseVariable, TextsArePaddedOrTerminatedWithinTheirSize) {
  char fixed[6];
  std::memset(fixed, '#', sizeof fixed);
  WriteUseText({fixed, kUseFixedText, 5}, "ab");
  EXPECT_EQ(std::string(fixed, 6), std::string("ab   #", 6));
  WriteUseText({fixed, kUseFixedText, 5}, "abcdefgh");
  EXPECT_EQ(std::string(fixed, 5), "abcde");
  char z[5];
  std::memset(z, '#', sizeof z);
  WriteUseText({z, kUseZText, 4}, "abcdefgh");
  EXPECT_STREQ(z, "abc");
  EXPECT_EQ(z[4], '#');
  EXPECT_EQ(ReadUseText({z, kUseZText, 4}), "abc");
}

struct PictureCase {
  const char* picture;
  uint8_t type;
  uint32_t size;
  const char* typed;
  bool accepted;
  const char* stored;  // as read back, clipped
  const char* shown;
};

class ThroughPicture : public ::testing::TestWithParam<PictureCase> {};

TEST_P(ThroughPicture, StoresAndShows) {
  const PictureCase& c = GetParam();
  char buf[181];
  std::memset(buf, ' ', sizeof buf);
  UseVariable use{buf, c.type, c.size};
  WriteUseText(use, "old");
  EXPECT_EQ(StoreThroughPicture(use, c.picture, c.typed), c.accepted) << c.picture << " " << c.typed;
  std::string stored = ReadUseText(use);
  while (!stored.empty() && stored.back() == ' ') stored.pop_back();
  EXPECT_EQ(stored, c.stored);
  if (c.accepted) EXPECT_EQ(ShowThroughPicture(use, c.picture), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    UtilityControls, ThroughPicture,
    ::testing::Values(PictureCase{"s180", kUseFixedText, 180, "Fixed the build", true, "Fixed the build",
                                  "Fixed the build"},
                      PictureCase{"s120", kUseZText, 120, "Version.kvi", true, "Version.kvi", "Version.kvi"},
                      PictureCase{"n5.2", kUseFixedText, 5, "2.5", true, "2.5", " 2.50"},
                      PictureCase{"n5.2", kUseFixedText, 5, "abc", false, "old", ""},
                      PictureCase{"n04", kUseFixedText, 4, "42", true, "42", "0042"},
                      PictureCase{"n04", kUseFixedText, 4, "4x", false, "old", ""}),
    [](const ::testing::TestParamInfo<PictureCase>& info) {
      return test::RowName(info.index, {info.param.picture, info.param.typed});
    });

TEST(SpinStep, MovesByTheLastDecimalPlace) {
  char ver[5], build[4];
  UseVariable v{ver, kUseFixedText, 5}, b{build, kUseFixedText, 4};
  WriteUseText(v, "1.60");
  WriteUseText(b, "41");
  StepThroughPicture(v, "n5.2", 1);
  StepThroughPicture(b, "n04", 1);
  EXPECT_EQ(ShowThroughPicture(v, "n5.2"), " 1.61");
  EXPECT_EQ(ShowThroughPicture(b, "n04"), "0042");
  WriteUseText(b, "0");
  StepThroughPicture(b, "n04", -1);  // no sign position: stops at 0
  EXPECT_EQ(ShowThroughPicture(b, "n04"), "0000");
}

TEST(UseVariable, ANumberTooWideForItsFixedTextIsKeptWhole) {
  char build[4];
  UseVariable b{build, kUseFixedText, 4};
  EXPECT_TRUE(StoreThroughPicture(b, "n04", "10000"));
  EXPECT_EQ(std::string(build, 4), "####");
  EXPECT_EQ(ReadUseText(b), "10000");
  EXPECT_EQ(ShowThroughPicture(b, "n04"), "10000");
  StepThroughPicture(b, "n04", -1);  // steps from the whole number, not from "1000"
  EXPECT_EQ(std::string(build, 4), "9999");
  StepThroughPicture(b, "n04", 1);
  EXPECT_EQ(ReadUseText(b), "10000");
  std::memcpy(build, "0042", 4);  // the owner's own write ends the kept number
  EXPECT_EQ(ReadUseText(b), "0042");
  char note[4];
  StoreThroughPicture({note, kUseFixedText, 4}, "s4", "abcdef");  // texts are still cut
  EXPECT_EQ(std::string(note, 4), "abcd");
}

}  // namespace
}  // namespace dove::win
