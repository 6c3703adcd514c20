// Opening a file of the data or save folder for reading. Whoever wrote the
// data folder, or whatever else touches the save folder, may have put a pipe,
// a device or a folder where a file belongs; opening one of those must never
// make the game wait, and reading it must not pretend it was a file.
#pragma once

#include <cstddef>
#include <limits>
#include <string>

namespace kiravel {

enum class FileReadError {
  None,
  Missing,     // nothing of that name (or a folder on the way is missing)
  NotRegular,  // a folder, a pipe, a device or a socket under the name
  Unreadable,  // the system refused it: no permission, too long a name, a loop of links
};

// Opens the file for reading without ever waiting: opened non-blocking, it
// must turn out to be a regular file, and only then reads block again.
// Returns the descriptor (closed on exec; the caller closes it), or -1 with
// *error set and the system's words in *reason when it gives any.
int OpenRegularFile(const std::string& path, FileReadError* error, std::string* reason = nullptr);

// The same for a file directly in an open folder, where a link under the
// name is not followed but refused as Unreadable: what lies in a save folder
// is the save's own.
int OpenRegularFileAt(int folder, const std::string& name, FileReadError* error,
                      std::string* reason = nullptr);

struct FileBytes {
  std::string Bytes;
  FileReadError Error = FileReadError::None;
  std::string Reason;  // the system's words for an Unreadable file
};

// Reads an opened file to its end and closes it. A file that holds more
// than `most` bytes (it may have grown since it was opened) is Unreadable,
// with no bytes.
FileBytes ReadOpenedFile(int fd, std::size_t most = std::numeric_limits<std::size_t>::max());

// The whole file, opened by OpenRegularFile.
FileBytes ReadRegularFile(const std::string& path);
FileBytes ReadRegularFileAt(int folder, const std::string& name);

}  // namespace kiravel
