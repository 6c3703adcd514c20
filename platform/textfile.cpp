#include "platform/textfile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "platform/cp932.h"
#include "platform/regular_file.h"

namespace kiravel {

std::vector<RawLine> SplitLines(std::string_view bytes) {
  std::vector<RawLine> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t stop = bytes.find_first_of("\r\n", start);
    if (stop == std::string_view::npos) {
      lines.push_back({bytes.substr(start), LineEnd::None});
      break;
    }
    RawLine line{bytes.substr(start, stop - start), LineEnd::Lf};
    if (bytes[stop] == '\r') {
      const bool crlf = stop + 1 < bytes.size() && bytes[stop + 1] == '\n';
      line.End = crlf ? LineEnd::CrLf : LineEnd::Cr;
      if (crlf) ++stop;
    }
    lines.push_back(line);
    start = stop + 1;
  }
  return lines;
}

bool FileExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

namespace {

TextFileContent DecodeTextFile(const FileBytes& file, bool strict) {
  TextFileContent content;
  if (file.Error != FileReadError::None) {
    content.Error =
        file.Error == FileReadError::Missing ? TextFileError::Missing : TextFileError::Unreadable;
    return content;
  }
  const std::string& bytes = file.Bytes;
  std::vector<RawLine> raw = SplitLines(bytes);
  content.Lines.reserve(raw.size());
  for (std::size_t i = 0; i < raw.size(); ++i) {
    if (strict) {
      std::optional<std::string> line = Cp932ToUtf8(raw[i].Bytes);
      if (!line) {
        content.Lines.clear();
        content.Error = TextFileError::BadEncoding;
        content.BadLine = static_cast<int>(i) + 1;
        return content;
      }
      content.Lines.push_back(std::move(*line));
    } else {
      content.Lines.push_back(Cp932ToUtf8Lenient(raw[i].Bytes));
    }
  }
  return content;
}

}  // namespace

TextFileContent ReadTextFile(const std::string& path, bool strict) {
  return DecodeTextFile(ReadRegularFile(path), strict);
}

TextFileContent ReadTextFileAt(int folder, const std::string& name, bool strict) {
  return DecodeTextFile(ReadRegularFileAt(folder, name), strict);
}

std::optional<std::string> EncodeTextFile(const std::vector<std::string>& lines, int* badLine) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  // One conversion for the whole file; only a refusal is looked at line by line.
  if (std::optional<std::string> bytes = Utf8ToCp932(text)) return bytes;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (!Utf8ToCp932(lines[i])) {
      *badLine = static_cast<int>(i) + 1;
      break;
    }
  }
  return std::nullopt;
}

namespace {

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes the bytes into a file just created and closes it; on a failure the
// file is removed again. Returns "" or the system's reason.
std::string FillNewFile(int fd, int folder, const std::string& path, const std::string& bytes,
                        bool durable) {
  bool ok = WriteAll(fd, bytes) && (!durable || ::fsync(fd) == 0);
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok) return "";
  ::unlinkat(folder, path.c_str(), 0);
  return std::strerror(error);
}


}  // namespace

std::string WriteNewFileAt(int folder, const std::string& name, const std::string& bytes,
                           bool durable) {
  if (name.find('\0') != std::string::npos) return std::strerror(EINVAL);
  // Whatever lies there is removed, never written through: a link planted
  // under the name must not send the bytes to its target.
  ::unlinkat(folder, name.c_str(), 0);
  int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return std::strerror(errno);
  return FillNewFile(fd, folder, name, bytes, durable);
}

std::string WriteNewFile(const std::string& path, const std::string& bytes, bool durable) {
  return WriteNewFileAt(AT_FDCWD, path, bytes, durable);
}

std::string ReplaceFileAt(int folder, const std::string& name, const std::string& bytes,
                          bool durable) {
  if (name.find('\0') != std::string::npos) return std::strerror(EINVAL);
  // A stand-in of a name nobody else uses, made anew, never through a link.
  static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::string temporary;
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    unsigned char random[6];
    if (::getentropy(random, sizeof random) != 0) return std::strerror(errno);
    temporary = ".kiravel-";
    for (unsigned char r : random) temporary += kLetters[r % (sizeof kLetters - 1)];
    fd = ::openat(folder, temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                  0644);
    if (fd < 0 && errno != EEXIST) return std::strerror(errno);
  }
  if (fd < 0) return std::strerror(EEXIST);
  std::string reason = FillNewFile(fd, folder, temporary, bytes, durable);
  if (!reason.empty()) return reason;
  if (::renameat(folder, temporary.c_str(), folder, name.c_str()) != 0) {
    reason = std::strerror(errno);
    ::unlinkat(folder, temporary.c_str(), 0);
  }
  return reason;
}

std::string ReplaceFile(const std::string& path, const std::string& bytes, bool durable) {
  if (path.find('\0') != std::string::npos) return std::strerror(EINVAL);
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  std::string reason = ReplaceFileAt(fd, name, bytes, durable);
  ::close(fd);
  return reason;
}

namespace {

template <class Write>
TextWriteResult WriteEncoded(const std::vector<std::string>& lines, Write write) {
  TextWriteResult result;
  std::optional<std::string> bytes = EncodeTextFile(lines, &result.BadLine);
  if (!bytes) {
    result.Error = TextWriteError::BadEncoding;
    return result;
  }
  result.Reason = write(*bytes);
  if (!result.Reason.empty()) result.Error = TextWriteError::Unwritable;
  return result;
}

}  // namespace

TextWriteResult WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                              bool durable) {
  return WriteEncoded(lines, [&](const std::string& bytes) { return ReplaceFile(path, bytes, durable); });
}

TextWriteResult WriteTextFileAt(int folder, const std::string& name,
                                const std::vector<std::string>& lines, bool durable) {
  return WriteEncoded(lines, [&](const std::string& bytes) {
    return ReplaceFileAt(folder, name, bytes, durable);
  });
}

std::int16_t FileTable::FreeFile() const {
  std::int16_t number = 1;
  for (const auto& [used, file] : files_) {
    if (used < number) continue;
    if (used != number) break;
    ++number;
  }
  return number;
}

TextFileError FileTable::OpenForInput(std::int16_t number, const std::string& path) {
  files_.erase(number);
  TextFileContent content = ReadTextFile(path, false);
  if (content.Error != TextFileError::None) return content.Error;
  files_[number] = OpenFile{std::move(content.Lines), 0};
  return TextFileError::None;
}

bool FileTable::IsOpen(std::int16_t number) const { return files_.count(number) != 0; }

bool FileTable::AtEnd(std::int16_t number) const {
  auto it = files_.find(number);
  return it == files_.end() || it->second.next >= it->second.lines.size();
}

std::string FileTable::LineInput(std::int16_t number) {
  auto it = files_.find(number);
  if (it == files_.end() || it->second.next >= it->second.lines.size()) return "";
  return it->second.lines[it->second.next++];
}

int FileTable::LinesRead(std::int16_t number) const {
  auto it = files_.find(number);
  return it == files_.end() ? 0 : static_cast<int>(it->second.next);
}

void FileTable::Close(std::int16_t number) noexcept { files_.erase(number); }

}  // namespace kiravel
