// The result codes of the music device's command strings, as the Windows
// device gives them for the same faults. The game ignores them; the runner
// prints them, and both devices (simulated and real) give the same ones.
#pragma once

#include <cstdint>

namespace kiravel::mci {

constexpr std::int32_t kOk = 0;
constexpr std::int32_t kUnrecognizedCommand = 261;
constexpr std::int32_t kHardware = 262;
constexpr std::int32_t kInvalidDeviceName = 263;
constexpr std::int32_t kCannotLoadDriver = 266;
constexpr std::int32_t kMissingParameter = 273;
constexpr std::int32_t kFileNotFound = 275;
constexpr std::int32_t kOutOfRange = 282;
constexpr std::int32_t kDuplicateAlias = 289;
constexpr std::int32_t kInvalidFile = 296;

}  // namespace kiravel::mci
