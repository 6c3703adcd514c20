// Sequential text files as the game reads them: CP932, one line per record,
// lines ended by CR LF, and numbered slots for the files that are open.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kiravel {

enum class TextFileError { None, Missing, Unreadable, BadEncoding };

struct TextFileContent {
  std::vector<std::string> Lines;  // UTF-8, without line ends
  TextFileError Error = TextFileError::None;
  int BadLine = 0;  // 1-based line of a BadEncoding error
};

// A line of a text file as its bytes, and how it ended.
enum class LineEnd { CrLf, Lf, Cr, None };
struct RawLine {
  std::string_view Bytes;
  LineEnd End = LineEnd::CrLf;
};
// The lines of a file's bytes: each ends at CR LF, a lone CR or a lone LF;
// a last line without an end still counts, and nothing after the last end
// makes no line. CP932 trail bytes never take the values of CR or LF, so the
// file is cut before it is decoded.
std::vector<RawLine> SplitLines(std::string_view bytes);

// Reads a whole CP932 file. Lines end at CR LF (a lone CR or LF is taken as a
// line end too); a last line without an end still counts, an empty file has
// no lines. Strict reading refuses invalid bytes with the line they are in;
// lenient reading shows them as U+FFFD.
TextFileContent ReadTextFile(const std::string& path, bool strict);
// The same for a file directly in an open folder, a link under the name
// refused (see OpenRegularFileAt).
TextFileContent ReadTextFileAt(int folder, const std::string& name, bool strict);
bool FileExists(const std::string& path);

// The lines as the bytes of a CP932 file, each line ended by CR LF. Null when
// a line holds a character CP932 cannot, with that 1-based line in *badLine.
std::optional<std::string> EncodeTextFile(const std::vector<std::string>& lines, int* badLine);
// Creates the file anew with the bytes, first removing whatever lies under
// the name (a file left over, or a link, whose target stays untouched); with
// durable set they have reached the disk when it succeeds. Returns "" on
// success, otherwise the system's reason; a file left half written is
// removed.
std::string WriteNewFile(const std::string& path, const std::string& bytes, bool durable);
// The same for a file directly in an open folder.
std::string WriteNewFileAt(int folder, const std::string& name, const std::string& bytes,
                           bool durable);
// Puts the bytes in place of the file as a whole: they are written to a new
// file of its folder and moved over it, so the name never shows half a file
// and a link under the name is replaced, not written through.
std::string ReplaceFile(const std::string& path, const std::string& bytes, bool durable);
// The same for a file directly in an open folder; its stand-in is named
// ".kiravel-" and six random letters.
std::string ReplaceFileAt(int folder, const std::string& name, const std::string& bytes,
                          bool durable);

enum class TextWriteError { None, BadEncoding, Unwritable };

struct TextWriteResult {
  TextWriteError Error = TextWriteError::None;
  int BadLine = 0;     // 1-based line of a BadEncoding error
  std::string Reason;  // the system's words for an Unwritable error
};

// Writes a whole CP932 file with CR LF line ends, by ReplaceFile. Text CP932
// cannot hold is refused before the file is touched.
TextWriteResult WriteTextFile(const std::string& path, const std::vector<std::string>& lines,
                              bool durable = false);
TextWriteResult WriteTextFileAt(int folder, const std::string& name,
                                const std::vector<std::string>& lines, bool durable = false);

// The open files of the game, by file number, each read line by line.
class FileTable {
 public:
  // The lowest number not in use, from 1.
  std::int16_t FreeFile() const;
  // Opens a file for reading under the number (closing what it held).
  // Returns the error; on an error nothing is open under the number.
  TextFileError OpenForInput(std::int16_t number, const std::string& path);
  bool IsOpen(std::int16_t number) const;
  // True at the end of the file, and for a number with no open file.
  bool AtEnd(std::int16_t number) const;
  // The next line; "" past the end or for a number with no open file.
  std::string LineInput(std::int16_t number);
  // How many lines have been read from the file so far.
  int LinesRead(std::int16_t number) const;
  // Closing a number with no open file does nothing.
  void Close(std::int16_t number) noexcept;
  int OpenCount() const { return static_cast<int>(files_.size()); }

 private:
  struct OpenFile {
    std::vector<std::string> lines;
    std::size_t next = 0;
  };
  std::map<std::int16_t, OpenFile> files_;
};

}  // namespace kiravel
