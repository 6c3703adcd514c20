// The picture painter builds the game's pictures on the developer's own
// machine, whose desktop may write fractions with a comma.
#include <gtest/gtest.h>

#include <locale.h>

#include <cstdlib>
#include <string>

#include "testing/game_fixture.h"

namespace kiravel::testing {
namespace {

int Paint(const std::string& locale, const std::string& target) {
  const std::string command = "env LC_ALL=" + locale + " '" KIRAVEL_PICTURE_PATH "' '" KIRAVEL_SCENES
                              "' ttl '" + target + "' 2>&1";
  return std::system(command.c_str());
}

TEST(PicturePainter, PaintsTheSamePictureUnderAGermanLocale) {
  // Without the locale the painter would quietly paint under C and prove
  // nothing.
  locale_t german = ::newlocale(LC_ALL_MASK, "de_DE.UTF-8", nullptr);
  ASSERT_NE(german, nullptr) << "the German locale is made by tools/build.sh";
  ::freelocale(german);
  DataFolder folder;
  ASSERT_EQ(Paint("C.UTF-8", folder.Path() + "plain.png"), 0);
  ASSERT_EQ(Paint("de_DE.UTF-8", folder.Path() + "german.png"), 0);
  EXPECT_EQ(folder.Read("german.png"), folder.Read("plain.png"));
}

}  // namespace
}  // namespace kiravel::testing
