#include "check/raw_text.h"

#include <string_view>

#include "platform/cp932.h"
#include "platform/textfile.h"

namespace kiravel::check {

namespace {

bool IsUtf8Multibyte(std::string_view bytes) {
  bool multibyte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    auto c = static_cast<unsigned char>(bytes[i]);
    int more = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
    if (more < 0 || i + more >= bytes.size()) return false;
    for (int k = 1; k <= more; ++k) {
      if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
    }
    multibyte = multibyte || more > 0;
    i += more + 1;
  }
  return multibyte;
}

// One finding per kind of problem, at its first line, with a count of the
// others: a file saved with the wrong line ends would otherwise bury the rest.
class Tally {
 public:
  void Note(int line) {
    if (first_ == 0) first_ = line;
    ++count_;
  }
  void Report(Findings& findings, const std::string& file, const std::string& what) const {
    if (count_ == 0) return;
    std::string more = count_ > 1 ? " (and " + std::to_string(count_ - 1) + " more lines)" : "";
    findings.Error(file, first_, what + more);
  }

 private:
  int first_ = 0;
  int count_ = 0;
};

}  // namespace

std::string ReadProblem(const FileBytes& file) {
  switch (file.Error) {
    case FileReadError::None: return "";
    case FileReadError::Missing: return "missing";
    case FileReadError::NotRegular: return "not a regular file";
    case FileReadError::Unreadable: return "cannot be read (" + file.Reason + ")";
  }
  return "";
}

std::optional<std::vector<std::string>> ReadDataText(const std::string& folder,
                                                     const std::string& relative,
                                                     Findings& findings) {
  FileBytes file = ReadRegularFile(folder + relative);
  if (file.Error != FileReadError::None) {
    findings.Error(relative, 0, ReadProblem(file));
    return std::nullopt;
  }
  const std::string& bytes = file.Bytes;
  if (std::string_view(bytes).starts_with("\xEF\xBB\xBF") || IsUtf8Multibyte(bytes)) {
    findings.Error(relative, 0,
                   "written in UTF-8; the game reads CP932 (convert it with kiravel-textconv)");
  }
  std::vector<std::string> lines;
  Tally notCp932, lf, cr, unended;
  int number = 0;
  for (const RawLine& raw : SplitLines(bytes)) {
    ++number;
    std::optional<std::string> text = Cp932ToUtf8(raw.Bytes);
    if (!text) notCp932.Note(number);
    if (raw.End == LineEnd::Lf) lf.Note(number);
    if (raw.End == LineEnd::Cr) cr.Note(number);
    if (raw.End == LineEnd::None) unended.Note(number);
    lines.push_back(text ? *text : Cp932ToUtf8Lenient(raw.Bytes));
  }
  notCp932.Report(findings, relative, "not valid CP932 text");
  lf.Report(findings, relative, "line ended by LF alone, not CR LF");
  cr.Report(findings, relative, "line ended by CR alone, not CR LF");
  unended.Report(findings, relative, "last line has no CR LF at its end");
  return lines;
}

}  // namespace kiravel::check
