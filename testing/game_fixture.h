// A game on a small data folder of its own, driven through the scripted
// platform: what every core test starts from.
#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/fom.h"
#include "platform/scripted_platform.h"

namespace kiravel::testing {

// A fresh program folder under /tmp with its picture and text folders,
// removed afterwards.
class DataFolder {
 public:
  DataFolder();
  ~DataFolder();
  DataFolder(const DataFolder&) = delete;
  DataFolder& operator=(const DataFolder&) = delete;

  // The folder, ending in "/".
  const std::string& Path() const { return path_; }
  // Writes the text file of that name: the lines in CP932, each ended by
  // CR LF.
  void WriteScript(const std::string& name, const std::vector<std::string>& lines) const;
  // Writes any file below the folder as CP932 lines ended by CR LF.
  void WriteText(const std::string& relative, const std::vector<std::string>& lines) const;
  // Writes raw bytes below the folder.
  void WriteBytes(const std::string& relative, const std::string& bytes) const;
  // Writes the picture of that name: a real BMP of the given size.
  void WritePicture(const std::string& name, int width = 8, int height = 6) const;
  // Every picture the game asks for by a fixed name, and the three rumour files.
  void WriteStandardFiles() const;
  std::string Read(const std::string& relative) const;

 private:
  std::string path_;
};

// A 24-bit BMP of the given size.
std::string BmpBytes(int width, int height);
// A PNG of the given size, one colour throughout.
std::string PngBytes(int width, int height);

// The window as the runner opens it: created, Form_Load, the first
// Form_Resize and Form_Activate, on the scripted platform.
struct Game {
  explicit Game(bool standardFiles = true);
  void Rnd(std::initializer_list<double> draws);
  // A new game of the level (0 easy, 1 hard) past a one-line opening scene,
  // in the town view.
  void StartInTown(std::int16_t level);
  // Replaces the known towns by towns of these attributes, named あいう,
  // かきく, さしす, たちつ, なにぬ in order, and stands in town `current`.
  void SetTowns(std::initializer_list<std::int16_t> attributes, std::int16_t current);
  // The texts of the message boxes shown so far.
  std::vector<std::string> MessageTexts() const;

  DataFolder data;
  ScriptedPlatform platform;
  std::unique_ptr<Fom> fom;
};

}  // namespace kiravel::testing
