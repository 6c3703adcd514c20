#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/conversions.h"
#include "platform/data_folder.h"

namespace kiravel {
namespace {

TEST(Val, ReadsOnlyTheNumberAtTheStart) {
  EXPECT_EQ(Val("12abc"), 12);
  EXPECT_EQ(Val("  -3.5  "), -3.5);
  EXPECT_EQ(Val("2x"), 2);
  EXPECT_EQ(Val("+7"), 7);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1.2.3"), 1.2);
  EXPECT_EQ(Val("1e3"), 1000);
  EXPECT_EQ(Val("1e"), 1);
  EXPECT_EQ(Val("007"), 7);
}

TEST(Val, TextWithoutANumberIsZero) {
  EXPECT_EQ(Val(""), 0);
  EXPECT_EQ(Val("abc"), 0);
  EXPECT_EQ(Val("-"), 0);
  EXPECT_EQ(Val("--3"), 0);
  EXPECT_EQ(Val("三"), 0);
}

// A number too large for a double must not turn into infinity downstream.
TEST(Val, HugeNumbersStayFinite) {
  EXPECT_TRUE(std::isfinite(Val("1e999")));
  EXPECT_TRUE(std::isfinite(Val("-1e999")));
  EXPECT_LT(Val("-1e999"), 0);
}

TEST(CInt, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(CInt(0.5), 0);
  EXPECT_EQ(CInt(1.5), 2);
  EXPECT_EQ(CInt(2.5), 2);
  EXPECT_EQ(CInt(3.5), 4);
  EXPECT_EQ(CInt(-2.5), -2);
  EXPECT_EQ(CInt(-3.5), -4);
  EXPECT_EQ(CInt(2.6), 3);
}

// Values past the 16-bit range must clamp, never wrap to the other sign.
TEST(CInt, ClampsInsteadOfWrapping) {
  EXPECT_EQ(CInt(40000), 32767);
  EXPECT_EQ(CInt(32767.5), 32767);
  EXPECT_EQ(CInt(-40000), -32768);
  EXPECT_EQ(CInt(std::numeric_limits<double>::infinity()), 32767);
  EXPECT_EQ(CInt(std::nan("")), 0);
  EXPECT_EQ(CLng(3e9), 2147483647);
  EXPECT_EQ(ClampInt16(70000), 32767);
  EXPECT_EQ(ClampInt16(-70000), -32768);
  EXPECT_EQ(ClampInt16(-5), -5);
}

TEST(Int, RoundsDownEvenBelowZero) {
  EXPECT_EQ(Int(2.9), 2);
  EXPECT_EQ(Int(0.999), 0);
  EXPECT_EQ(Int(-0.5), -1);
  EXPECT_EQ(Int(-2), -2);
  EXPECT_EQ(Int(1e20), 2147483647);
}

TEST(CStr, WritesPlainDecimals) {
  EXPECT_EQ(CStr(0), "0");
  EXPECT_EQ(CStr(-5), "-5");
  EXPECT_EQ(CStr(1) + CStr(10), "110");
}

TEST(TextSlices, CountJapaneseCharactersNotBytes) {
  const std::string town = "(火)　あいう";
  EXPECT_EQ(Len(town), 7);
  EXPECT_EQ(Len(""), 0);
  EXPECT_EQ(Mid(town, 5), "あいう");
  EXPECT_EQ(Mid(town, 2, 1), "火");
  EXPECT_EQ(Mid(town, 6, 10), "いう");
  EXPECT_EQ(Mid(town, 8), "");
  EXPECT_EQ(Left(town, 3), "(火)");
  EXPECT_EQ(Left(town, 0), "");
  EXPECT_EQ(Left(town, 99), town);
  EXPECT_EQ(Left("ミンヤ▽", Len("ミンヤ▽") - 1), "ミンヤ");
}

// A replacement that holds the searched text must not be searched again.
TEST(Replace, GoesLeftToRightWithoutReplacingTheReplacement) {
  EXPECT_EQ(Replace("-mと-m", kNameMark, "ア-mイ"), "ア-mイとア-mイ");
  EXPECT_EQ(Replace("---m", kNameMark, "X"), "--X");
  EXPECT_EQ(Replace("aaa", "aa", "b"), "ba");
  EXPECT_EQ(Replace("なし", kNameMark, "X"), "なし");
  EXPECT_EQ(Replace("abc", "", "X"), "abc");
}

TEST(Split, KeepsEveryPieceIncludingEmptyOnes) {
  EXPECT_EQ(Split("1,x,y", ','), (std::vector<std::string>{"1", "x", "y"}));
  EXPECT_EQ(Split("a,,b", ','), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(Split(",", ','), (std::vector<std::string>{"", ""}));
  EXPECT_EQ(Split("あいう", ','), (std::vector<std::string>{"あいう"}));
  EXPECT_EQ(Split("", ','), (std::vector<std::string>{""}));
}

}  // namespace
}  // namespace kiravel
