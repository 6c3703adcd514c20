#include <gtest/gtest.h>

#include <string>

#include "platform/data_folder.h"

namespace kiravel {
namespace {

TEST(SafeNames, EveryNameTheGameCannotUseSafelyIsRefused) {
  const std::string nul("\0", 1);
  for (const std::string& name :
       {"kiravel-run" + nul, nul + "x", std::string("a\x01"), std::string("a\tb"), std::string("a\x7f"),
        std::string("a\xC2\x85"), std::string("a/b"), std::string("a\\b"), std::string(".."),
        std::string("a..b"), std::string("a:b"), std::string("a*"), std::string("a?"),
        std::string("\"a\""), std::string("<a>"), std::string("a|b"),
        std::string(kLongestNamePart + 1, 'a')}) {
    EXPECT_FALSE(IsSafeNamePart(name)) << ::testing::PrintToString(name);
  }
  for (const std::string& name : {std::string(""), std::string("12"), std::string("19_1"),
                                  std::string("ミンヤ"), std::string("a b"), std::string(".a"),
                                  std::string("\xC2\xA0"), std::string(kLongestNamePart, 'a')}) {
    EXPECT_TRUE(IsSafeNamePart(name)) << ::testing::PrintToString(name);
  }
}

}  // namespace
}  // namespace kiravel
