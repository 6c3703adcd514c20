#include "events/fixed_files.h"

#include "core/status.h"

namespace kiravel {

std::vector<FixedFile> FixedPictures() {
  std::vector<FixedFile> pictures = {
      {kTitlePicture, "the title picture"},
      {kTownPicture, "the town view"},
      {kRoadPicture, "the forest and the road"},
      {kTavernPicture, "the tavern"},
  };
  for (std::int16_t attribute = 0; attribute < kAttributeCount; ++attribute) {
    pictures.push_back({MonsterPicture(std::to_string(attribute)),
                        std::string("the monster of ") + kStatusNames.at(attribute)});
  }
  return pictures;
}

std::vector<FixedFile> FixedTexts() {
  std::vector<FixedFile> texts = {
      {kOpeningScene, "the opening scene of every new game"},
      {kYearRunOutScene, "the scene when the year runs out"},
      {kStaminaRunOutScene, "the scene when the courier's stamina runs out"},
      {kClosingScene, "the closing scene after a story line's bonus page"},
  };
  for (int number = 0; number < kRumourFiles; ++number) {
    texts.push_back({RumourFile(number), "rumours heard in town"});
  }
  texts.push_back({kPageHead, "the beginning of every bonus page"});
  texts.push_back({kPageFoot, "the end of every bonus page"});
  return texts;
}

}  // namespace kiravel
