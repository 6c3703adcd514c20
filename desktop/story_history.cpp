#include "desktop/story_history.h"

#include <string_view>
#include <utility>

#include "platform/data_folder.h"

namespace kiravel::qt {

namespace {

constexpr std::string_view kPageEnd = "▼";
constexpr std::string_view kLineEnd = "▽";

bool EndsWith(std::string_view text, std::string_view end) {
  return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The page as the player reads it: every line of the caption starts with a
// line break, and the last may carry the mark that waits for a click.
std::string PageText(std::string_view caption) {
  if (EndsWith(caption, kPageEnd)) caption.remove_suffix(kPageEnd.size());
  if (EndsWith(caption, kLineEnd)) caption.remove_suffix(kLineEnd.size());
  std::string text;
  text.reserve(caption.size());
  for (std::size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == '\r') continue;
    if (caption[i] == '\n' && text.empty() && i <= 1) continue;
    text += caption[i];
  }
  return text;
}

QString BreakLine(StoryHistory::Kind kind) {
  return kind == StoryHistory::Kind::Load ? QStringLiteral("――――　ロード　――――")
                                          : QStringLiteral("――――　新しいゲーム　――――");
}

// The scene's name as its file is named in the text folder, without the
// ending: "03".
QString SceneName(const std::string& scene) {
  std::string_view name = scene;
  if (auto slash = name.rfind('/'); slash != std::string_view::npos) name.remove_prefix(slash + 1);
  if (EndsWith(name, kDataEnding)) name.remove_suffix(std::string_view(kDataEnding).size());
  return QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

}  // namespace

void StoryHistory::Follow(const std::string& scene, const std::string& caption) {
  if (scene.empty()) {
    EndPage();
    lastCaption_.clear();
    pageEnded_ = false;
    return;
  }
  if (caption == lastCaption_ && scene == onScreen_.scene) return;
  std::string text = PageText(caption);
  const bool samePage = scene == onScreen_.scene && !pageEnded_ &&
                        text.compare(0, onScreen_.text.size(), onScreen_.text) == 0;
  if (!samePage) EndPage();
  onScreen_.scene = scene;
  onScreen_.text = std::move(text);
  lastCaption_ = caption;
  pageEnded_ = EndsWith(caption, kPageEnd);
}

void StoryHistory::Break(Kind kind) {
  EndPage();
  if (ended_.empty() || ended_.back().kind != Kind::Page) return;
  Keep(Entry{kind, "", ""});
}

void StoryHistory::EndPage() {
  Entry page = std::exchange(onScreen_, Entry{});
  if (!page.text.empty()) Keep(std::move(page));
}

void StoryHistory::Keep(Entry entry) {
  if (entry.kind == Kind::Page) ++pages_;
  ended_.push_back(std::move(entry));
  while (pages_ > kPagesKept) {
    if (ended_.front().kind == Kind::Page) --pages_;
    ended_.pop_front();
  }
  while (!ended_.empty() && ended_.front().kind != Kind::Page) ended_.pop_front();
}

QString StoryHistory::Text() const {
  QString text;
  const std::string* scene = nullptr;
  auto add = [&](const Entry& entry) {
    if (entry.kind != Kind::Page) {
      text += BreakLine(entry.kind) + QStringLiteral("\n\n");
      scene = nullptr;
      return;
    }
    if (scene == nullptr || *scene != entry.scene) {
      text += QStringLiteral("《") + SceneName(entry.scene) + QStringLiteral("》\n");
    }
    scene = &entry.scene;
    text += QString::fromStdString(entry.text) + QStringLiteral("\n\n");
  };
  for (const Entry& entry : ended_) add(entry);
  if (!onScreen_.text.empty()) add(onScreen_);
  text.chop(2);
  return text;
}

}  // namespace kiravel::qt
