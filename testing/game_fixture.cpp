#include "testing/game_fixture.h"

#include <QBuffer>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "events/fixed_files.h"
#include "platform/cp932.h"
#include "platform/data_folder.h"

namespace kiravel::testing {

DataFolder::DataFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "kiravel-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern + "/";
  std::filesystem::create_directories(path_ + kPictureFolder);
  std::filesystem::create_directories(path_ + kTextFolder);
}

DataFolder::~DataFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

void DataFolder::WriteScript(const std::string& name, const std::vector<std::string>& lines) const {
  WriteText(TextFolderPath() + name + kDataEnding, lines);
}

void DataFolder::WriteText(const std::string& relative, const std::vector<std::string>& lines) const {
  std::string bytes;
  for (const std::string& line : lines) {
    std::optional<std::string> encoded = Utf8ToCp932(line);
    if (!encoded) throw std::runtime_error("not CP932: " + line);
    bytes += *encoded + "\r\n";
  }
  WriteBytes(relative, bytes);
}

void DataFolder::WriteBytes(const std::string& relative, const std::string& bytes) const {
  std::filesystem::path file = path_ + relative;
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

void DataFolder::WritePicture(const std::string& name, int width, int height) const {
  WriteBytes(PictureFolderPath() + name + kDataEnding, BmpBytes(width, height));
}

void DataFolder::WriteStandardFiles() const {
  for (const FixedFile& picture : FixedPictures()) WritePicture(picture.Name);
  for (int k = 0; k < kRumourFiles; ++k) {
    WriteText(TextFolderPath() + RumourFile(k) + kDataEnding, {"噂" + std::to_string(k)});
  }
}

std::string DataFolder::Read(const std::string& relative) const {
  std::ifstream in(path_ + relative, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string BmpBytes(int width, int height) {
  int rowSize = (width * 3 + 3) / 4 * 4;
  int imageSize = rowSize * height;
  std::string bytes;
  auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  bytes += "BM";
  put(static_cast<std::uint32_t>(54 + imageSize), 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<std::uint32_t>(width), 4);
  put(static_cast<std::uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(static_cast<std::uint32_t>(imageSize), 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < rowSize; ++x) bytes += static_cast<char>((x * 7 + y * 13) & 0xFF);
  }
  return bytes;
}

Game::Game(bool standardFiles) {
  if (standardFiles) data.WriteStandardFiles();
  fom = std::make_unique<Fom>(platform, data.Path());
  fom->Form_Load();
  fom->Form_Resize();
  fom->Form_Activate();
}

void Game::Rnd(std::initializer_list<double> draws) {
  for (double draw : draws) platform.QueueRnd(draw);
}

void Game::StartInTown(std::int16_t level) {
  data.WriteScript("opn", {"はじまり", "tugi"});
  fom->ComStt_Click(level);
  fom->ComSkep_Click();
}

void Game::SetTowns(std::initializer_list<std::int16_t> attributes, std::int16_t current) {
  static const char* const kNames[] = {"あいう", "かきく", "さしす", "たちつ", "なにぬ"};
  fom->LstMati[0].Clear();
  fom->LstMati[1].Clear();
  std::size_t k = 0;
  for (std::int16_t attribute : attributes) fom->AddTown(kNames[k++ % 5], attribute);
  fom->MatiNow = current;
}

std::vector<std::string> Game::MessageTexts() const {
  std::vector<std::string> texts;
  for (const auto& box : platform.MessageBoxes) texts.push_back(box.Text);
  return texts;
}

std::string PngBytes(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::cyan);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

}  // namespace kiravel::testing
