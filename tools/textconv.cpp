// kiravel-textconv SOURCE TARGET: turns a text file as data authors write it
// (UTF-8, LF line ends) into the game's format (CP932, CR LF line ends).
// A character the game's code page cannot hold stops the conversion with
// "SOURCE:LINE: message" rather than reaching the game changed.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "core/vb.h"
#include "platform/cp932.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kiravel-textconv SOURCE TARGET\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> lines = kiravel::Split(text, '\n');
  if (!lines.empty() && lines.back().empty()) lines.pop_back();  // the final line end
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::optional<std::string> encoded = kiravel::Utf8ToCp932(line);
    if (!encoded) {
      std::cerr << argv[1] << ":" << i + 1 << ": a character here cannot be written in CP932\n";
      return 1;
    }
    out += *encoded + "\r\n";
  }
  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file << out;
  if (!file.flush()) {
    std::cerr << argv[2] << ": cannot write\n";
    return 1;
  }
  return 0;
}
