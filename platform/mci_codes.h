// The result codes of the music device's command strings, as the Windows
// device gives them for the same faults. The game ignores them; the runner
// prints them. Both devices (simulated and real) speak through one
// interpreter (mci_device.h), so they give the same code for the same fault.
#pragma once

#include <cstdint>

namespace kiravel::mci {

constexpr std::int32_t kOk = 0;
// An empty command, a word the language does not have, or a word too many.
constexpr std::int32_t kUnrecognizedCommand = 261;
// The sound card was there but would not take the piece.
constexpr std::int32_t kHardware = 262;
// No piece is open under that alias.
constexpr std::int32_t kInvalidDeviceName = 263;
// No sound system on this machine.
constexpr std::int32_t kCannotLoadDriver = 266;
// A command that lacks a part it needs: the alias, the quoted file, "to start".
constexpr std::int32_t kMissingParameter = 273;
// The file is not there, or is no regular file.
constexpr std::int32_t kFileNotFound = 275;
// A position that is not a number of milliseconds within the piece.
constexpr std::int32_t kOutOfRange = 282;
// The alias is already open: the device holds one piece at a time.
constexpr std::int32_t kDuplicateAlias = 289;
// The file holds no music the game can play: not a wave, or no samples.
constexpr std::int32_t kInvalidFile = 296;

}  // namespace kiravel::mci
