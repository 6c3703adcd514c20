#include "app/kiravel-check/media_check.h"

#include "app/kiravel-check/quiet_decoders.h"

#include <QImage>
#include <QImageReader>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string_view>

namespace kiravel::check {

const std::string& PictureShelf::Problem(const std::string& name) {
  auto known = problems_.find(name);
  if (known != problems_.end()) return known->second;
  const std::string path = folder_ + "img/" + name + ".dat";
  std::string problem;
  if (!std::filesystem::is_regular_file(path)) {
    problem = "missing";
  } else {
    QImageReader reader(QString::fromStdString(path));
    reader.setDecideFormatFromContent(true);
    QImage image;
    {
      QuietDecoders quiet;
      image = reader.read();
    }
    if (image.isNull()) problem = "not a picture the game can decode (" +
                                  reader.errorString().toStdString() + ")";
  }
  return problems_.emplace(name, problem).first->second;
}

namespace {

std::uint32_t Little(std::string_view bytes, std::size_t at, int count) {
  std::uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

std::string FormatProblem(std::string_view fmt) {
  if (fmt.size() < 16) return "its fmt chunk is too short";
  const std::uint32_t tag = Little(fmt, 0, 2), channels = Little(fmt, 2, 2);
  const std::uint32_t rate = Little(fmt, 4, 4), align = Little(fmt, 12, 2);
  const std::uint32_t bits = Little(fmt, 14, 2);
  if (tag != 1) return "not PCM (format tag " + std::to_string(tag) + ")";
  if (channels < 1 || channels > 2) return std::to_string(channels) + " channels";
  if (rate == 0) return "a sample rate of 0";
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) {
    return std::to_string(bits) + " bits a sample";
  }
  if (align != channels * bits / 8) return "a block size that does not fit its samples";
  return "";
}

}  // namespace

std::string WaveProblem(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return "missing";
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string_view view = bytes;
  if (view.size() < 12 || !view.starts_with("RIFF") || view.substr(8, 4) != "WAVE") {
    return "not a RIFF/WAVE file";
  }
  std::optional<std::string> format;
  for (std::size_t at = 12; at + 8 <= view.size();) {
    const std::string_view id = view.substr(at, 4);
    const std::uint64_t size = Little(view, at + 4, 4);
    if (at + 8 + size > view.size()) return "its \"" + std::string(id) + "\" chunk runs past the file's end";
    if (id == "fmt ") format = FormatProblem(view.substr(at + 8, size));
    if (id == "data") {
      if (!format) return "its data chunk comes before any fmt chunk";
      if (!format->empty()) return *format;
      return size == 0 ? "its data chunk is empty" : "";
    }
    at += 8 + size + (size & 1);
  }
  return format ? "no data chunk" : "no fmt chunk";
}

}  // namespace kiravel::check
