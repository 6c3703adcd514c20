#include "app/kiravel/page_pacer.h"

#include <algorithm>
#include <cstdint>
#include <utility>

namespace kiravel::qt {

PagePacer::PagePacer(std::function<void()> click, QObject* parent)
    : QObject(parent), click_(std::move(click)) {
  timer_.setSingleShot(true);
  timer_.callOnTimeout([this] { click_(); });
}

void PagePacer::Look(const Page& page) {
  timer_.stop();
  if (!page.inScene) return;
  if (skip_ != Skip::Off) {
    // The fast-forward stops where the player has something new to read,
    // and before the click that would carry play out of the scene.
    if ((!page.read && !settings_.skipUnread) || (page.waits && page.endsScene)) {
      skip_ = Skip::Off;
    } else {
      timer_.start(kSkipPaceMs);
      return;
    }
  }
  if (!autoAdvance_ || !page.waits) return;
  const std::int64_t wait = settings_.baseDelayMs +
                            static_cast<std::int64_t>(settings_.perCharacterMs) * page.characters;
  timer_.start(static_cast<int>(std::clamp<std::int64_t>(wait, 0, 24 * 60 * 60 * 1000)));
}

}  // namespace kiravel::qt
