#include "app/kiravel/music_thread.h"

#include <dlfcn.h>

#include <memory>
#include <utility>

#include "platform/mci_codes.h"
#include "platform/mci_device.h"
#include "platform/sdl_playback.h"

namespace kiravel::qt {

namespace {

// A machine without the music module: nothing can be opened, so the game
// runs silent.
class NoSoundSystem : public Playback {
 public:
  std::int32_t Load(const std::string&, PieceLength*) override { return mci::kCannotLoadDriver; }
  void Unload() override {}
  void Start(std::int64_t) override {}
  void Stop() override {}
  bool Sounding() override { return false; }
};

// The module stays loaded to the end of the program: its code runs until the
// playback it made is gone.
std::unique_ptr<Playback> LoadMusicModule(const std::string& file, PieceEnded ended,
                                          void* listener, const MusicLevel* level) {
  void* module = ::dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module == nullptr) return std::make_unique<NoSoundSystem>();
  using Entry = Playback* (*)(PieceEnded, void*, const MusicLevel*);
  auto entry = reinterpret_cast<Entry>(::dlsym(module, kMusicModuleEntry));
  Playback* playback = entry != nullptr ? entry(ended, listener, level) : nullptr;
  if (playback == nullptr) return std::make_unique<NoSoundSystem>();
  return std::unique_ptr<Playback>(playback);
}

}  // namespace

void MusicThread::Start() {
  std::call_once(started_, [this] { thread_ = std::thread([this] { Run(); }); });
}

MusicThread::~MusicThread() {
  bool waiting = false;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    waiting = !jobs_.empty();
  }
  // Commands still waiting (the close of the window's end) are carried out.
  if (waiting) Start();
  wake_.notify_one();
  if (thread_.joinable()) thread_.join();
}

std::int32_t MusicThread::Send(const std::string& command, std::string* reply) {
  std::promise<std::pair<std::int32_t, std::string>> answer;
  std::future<std::pair<std::int32_t, std::string>> answered = answer.get_future();
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(Job{command, reply != nullptr ? &answer : nullptr});
  }
  wake_.notify_one();
  if (reply == nullptr) return mci::kOk;
  Start();
  auto [result, text] = answered.get();
  // A failed query leaves the caller's buffer as it was.
  if (!text.empty()) *reply = std::move(text);
  return result;
}

void MusicThread::OnPieceEnded(std::function<void()> ended) {
  std::lock_guard lock(mutex_);
  ended_ = std::move(ended);
}

void MusicThread::PieceEnded(void* self) {
  auto& thread = *static_cast<MusicThread*>(self);
  std::lock_guard lock(thread.mutex_);
  if (thread.ended_) thread.ended_();
}

void MusicThread::Run() {
  std::unique_ptr<Playback> playback = LoadMusicModule(moduleFile_, &PieceEnded, this, &level_);
  MciDevice device(*playback);
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (jobs_.empty()) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    std::string reply;
    const std::int32_t result = device.Send(job.command, &reply);
    if (job.answer != nullptr) job.answer->set_value({result, std::move(reply)});
  }
}

}  // namespace kiravel::qt
