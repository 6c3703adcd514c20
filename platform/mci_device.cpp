#include "platform/mci_device.h"

#include <algorithm>

#include "platform/mci_codes.h"

namespace kiravel {

bool MciDevice::Playing() {
  if (playing_ && !playback_.Sounding()) {
    playing_ = false;
    next_ = piece_.Frames;
  }
  return playing_;
}

std::int32_t MciDevice::Send(const std::string& text, std::string* reply) {
  auto parsed = ParseMci(text);
  if (const auto* refused = std::get_if<std::int32_t>(&parsed)) return *refused;
  const MciCommand& command = std::get<MciCommand>(parsed);
  if (command.Verb == MciVerb::Open) return Load(command);
  if (!Opened() || command.Alias != alias_) return mci::kInvalidDeviceName;
  switch (command.Verb) {
    case MciVerb::Close:
      playback_.Unload();
      alias_.clear();
      playing_ = false;
      return mci::kOk;
    case MciVerb::Seek:
      playback_.Stop();
      playing_ = false;
      next_ = 0;
      return mci::kOk;
    case MciVerb::Status:
      if (reply != nullptr) *reply = Playing() ? "playing" : "stopped";
      return mci::kOk;
    case MciVerb::Play:
      return Play(command);
    case MciVerb::Open:
      break;
  }
  return mci::kUnrecognizedCommand;
}

std::int32_t MciDevice::Load(const MciCommand& open) {
  if (Opened()) return mci::kDuplicateAlias;
  PieceLength length;
  const std::int32_t result = playback_.Load(open.Path, &length);
  if (result != mci::kOk) return result;
  if (length.Frames <= 0 || length.Rate <= 0) {
    playback_.Unload();
    return mci::kInvalidFile;
  }
  alias_ = open.Alias;
  piece_ = length;
  next_ = 0;
  playing_ = false;
  return mci::kOk;
}

// "play A" starts where the piece stands (its beginning after an open or a
// seek) and leaves a playing piece alone; "play A from MS" starts there.
std::int32_t MciDevice::Play(const MciCommand& play) {
  if (!play.FromMs) {
    if (!Playing()) PlayFrom(next_);
    return mci::kOk;
  }
  // Milliseconds past the piece's length are outside it; its very end is
  // inside, and playing from there ends at once.
  const std::int64_t lengthMs = (piece_.Frames * 1000 + piece_.Rate - 1) / piece_.Rate;
  if (*play.FromMs > lengthMs) return mci::kOutOfRange;
  PlayFrom(std::min(piece_.Frames, *play.FromMs * piece_.Rate / 1000));
  return mci::kOk;
}

void MciDevice::PlayFrom(std::int64_t frame) {
  if (frame >= piece_.Frames) {
    playback_.Stop();
    playing_ = false;
    next_ = piece_.Frames;
    return;
  }
  playback_.Start(frame);
  playing_ = true;
}

}  // namespace kiravel
