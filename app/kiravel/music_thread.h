// The game's music device on a thread of its own. The thread loads the sound
// module (and with it SDL and the audio libraries) when told to start, so the
// window's first frame never waits for them; without the module the game
// runs silent, as on a machine without a sound card.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "platform/music_level.h"

namespace kiravel::qt {

class MusicThread {
 public:
  // The module is loaded from that file once the thread starts.
  explicit MusicThread(std::string moduleFile) : moduleFile_(std::move(moduleFile)) {}
  // Carries out every command still waiting, then closes the sound.
  ~MusicThread();
  MusicThread(const MusicThread&) = delete;
  MusicThread& operator=(const MusicThread&) = delete;

  // Starts the thread, which loads the module. Commands sent before wait
  // for it.
  void Start();

  // Commands are carried out on the music thread in the order sent. One
  // that asks for a reply starts the thread if need be and waits for the
  // reply; any other is answered 0 at once, its own result going nowhere
  // (the game ignores every result).
  std::int32_t Send(const std::string& command, std::string* reply);

  // Told, on the music thread, when a playing piece has played to its end.
  // Null to stop listening.
  void OnPieceEnded(std::function<void()> ended);

  // A muted or quieter piece goes on playing at its own pace, so the game
  // hears the same answers to its commands either way.
  void SetMuted(bool muted) { level_.muted = muted; }
  // From 0 to 100 percent of the piece's own loudness.
  void SetVolume(int percent) { level_.percent = percent; }

 private:
  struct Job {
    std::string command;
    std::promise<std::pair<std::int32_t, std::string>>* answer = nullptr;
  };
  void Run();
  static void PieceEnded(void* self);

  const std::string moduleFile_;
  std::once_flag started_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::function<void()> ended_;
  MusicLevel level_;
  std::thread thread_;
};

}  // namespace kiravel::qt
