#include "platform/scripted_platform.h"

#include <algorithm>
#include <cmath>

#include "platform/image.h"
#include "platform/mci_codes.h"

namespace kiravel {

ScriptedPlatform::ScriptedPlatform(std::uint64_t seed) : draws_(seed) {}

double ScriptedPlatform::Rnd() { return draws_.Next(); }

MsgBoxAnswer ScriptedPlatform::MsgBox(const std::string& text, MsgBoxButtons buttons) {
  MsgBoxAnswer answer = answers_.Next(buttons);
  MessageBoxes.push_back(MessageBox{text, buttons, answer});
  if (OnMsgBox) OnMsgBox(MessageBoxes.back());
  return answer;
}

void ScriptedPlatform::ReportFailure(const std::string& text) {
  MsgBox(text, MsgBoxButtons::OK);
  Failures.push_back(text);
  if (OnFailure) OnFailure(text);
}

std::int32_t ScriptedPlatform::mciSendString(const std::string& command, std::string* reply,
                                             int replyLength) {
  std::string answer;
  std::int32_t result = music_.Send(command, &answer);
  if (reply != nullptr && result == mci::kOk && !answer.empty()) {
    std::size_t n = std::min<std::size_t>(answer.size(), static_cast<std::size_t>(std::max(0, replyLength)));
    if (reply->size() < n) reply->resize(n, ' ');
    reply->replace(0, n, answer.substr(0, n));
  }
  if (OnMci && command.rfind("status ", 0) != 0) OnMci(command, result);
  return result;
}

std::optional<std::int64_t> ScriptedPlatform::MusicStoppedFromMs() {
  if (!music_.Opened()) return std::nullopt;
  if (!music_.Playing()) return NowMs;
  return playback_.EndsAtMs();
}

std::shared_ptr<const Image> ScriptedPlatform::LoadPicture(const std::string& path) {
  return pictures_.Load(path);
}

const MenuItem* ScriptedPlatform::PopupMenu(const MenuItem& /*root*/) {
  if (menuChoices_.empty()) return nullptr;
  const MenuItem* choice = menuChoices_.front();
  menuChoices_.pop_front();
  return choice;
}

bool ScriptedPlatform::SetWindowWidth(std::int32_t twips) {
  if (Fixed) return false;
  Place.Width = OnGrid(twips);
  Place.ClientWidth = Place.Width - frameWidth_;
  return true;
}

bool ScriptedPlatform::SetWindowLeft(std::int32_t twips) {
  if (Fixed) return false;
  Place.Left = OnGrid(twips);
  return true;
}

bool ScriptedPlatform::SetWindowTop(std::int32_t twips) {
  if (Fixed) return false;
  Place.Top = OnGrid(twips);
  return true;
}

void ScriptedPlatform::SetWindowHeight(std::int32_t twips) {
  Place.Height = twips;
  Place.ClientHeight = twips - frameHeight_;
}

std::int32_t ScriptedPlatform::OnGrid(std::int32_t twips) const {
  if (!pixel_) return twips;
  return static_cast<std::int32_t>(std::lround(std::lround(twips / *pixel_) * *pixel_));
}

void ScriptedPlatform::SetWindowFrame(std::int32_t width, std::int32_t height) {
  frameWidth_ = width;
  frameHeight_ = height;
  Place.ClientWidth = Place.Width - width;
  Place.ClientHeight = Place.Height - height;
}

}  // namespace kiravel
