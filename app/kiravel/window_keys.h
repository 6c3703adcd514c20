// Every key the window answers to, grouped by what the player faces, in
// Japanese for the key page and in English for --help, the README and the
// manual page. One table, so the lists cannot tell different stories.
#pragma once

#include <QString>

#include <vector>

namespace kiravel::qt {

enum class KeyMode { Anywhere, StartPanel, Scene, History, ScenePreview };

struct WindowKey {
  KeyMode mode;
  const char* keysJapanese;  // as the key page names them
  const char* keysEnglish;
  const char* japanese;  // what they do
  const char* english;
};

const std::vector<WindowKey>& WindowKeys();
// The heading of a group of keys.
QString KeyModeName(KeyMode mode, bool japanese);
// Letter keys type into the name box and the battle's text: the note that
// says so.
QString TypingNote(bool japanese);
// The keys as --help lists them.
QString KeysInEnglish();

}  // namespace kiravel::qt
