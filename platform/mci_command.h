// The music device's command language: the command strings the game sends,
// read once into a value that both music devices carry out.
//   open "PATH" alias NAME [notify]
//   close NAME [notify]
//   play NAME [from MS] [notify]
//   seek NAME to start [notify]
//   status NAME mode
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace kiravel {

enum class MciVerb { Open, Close, Play, Seek, Status };

struct MciCommand {
  MciVerb Verb = MciVerb::Status;
  std::string Alias;
  std::string Path;                    // open: the file between the quotes
  std::optional<std::int64_t> FromMs;  // play ... from MS
};

// The command, or the result code that refuses it (mci_codes.h).
std::variant<MciCommand, std::int32_t> ParseMci(const std::string& text);

}  // namespace kiravel
