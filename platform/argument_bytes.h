// A path typed on the command line, as the bytes the system gave the
// program. Qt hands arguments over as text, and a folder name that is not
// UTF-8 (one unpacked from an archive made on Japanese Windows, in CP932)
// does not survive the trip: the game would look for another folder.
#pragma once

#include <QString>
#include <string>

namespace kiravel {

// The bytes of the program's argument that Qt read as `value`, either the
// whole argument or what follows its "=" ("--data=DIR"); the value's own
// UTF-8 when no argument reads so.
std::string ArgumentBytes(const QString& value);

}  // namespace kiravel
