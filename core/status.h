// The courier's five statuses and the three attributes they begin with.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kiravel {

// The order of StrName, StrMax, StrVal and the status bars. The first three
// are also the attributes of towns, fairies and monsters, and the story lines
// counted in IveCount: a 火 town offers the 火 line, a 水 monster attacks 水.
enum class Status : std::int16_t { Fire, Grass, Water, Stamina, Days };

inline constexpr std::int16_t kStatusCount = 5;
// 火, 草 and 水: the attributes, and the story lines.
inline constexpr std::int16_t kAttributeCount = 3;
// The courier's year: a day past it ends the game.
inline constexpr std::int16_t kLastDay = 365;
// The highest value of each strength and of the stamina.
inline constexpr std::int16_t kStrengthMax = 1000;

// The statuses' names as the status panel and the requests show them.
inline constexpr std::array<const char*, kStatusCount> kStatusNames{"火", "草", "水", "体力", "日数"};

constexpr std::int16_t StatusIndex(Status status) { return static_cast<std::int16_t>(status); }

// One value per status, indexed by a Status or, for an attribute, by its
// number.
template <typename T>
struct PerStatus : std::array<T, kStatusCount> {
  using std::array<T, kStatusCount>::operator[];
  T& operator[](Status status) { return (*this)[static_cast<std::size_t>(status)]; }
  const T& operator[](Status status) const { return (*this)[static_cast<std::size_t>(status)]; }
};

// What each status can reach at the most: StrMax of every game.
inline constexpr PerStatus<std::int16_t> kStatusMaxima{
    {kStrengthMax, kStrengthMax, kStrengthMax, kStrengthMax, kLastDay}};

// The purse holds no more than this; more money is lost.
inline constexpr std::int32_t kMostMoney = 300000;

// One count per story line.
using PerStoryLine = std::array<std::int16_t, kAttributeCount>;

}  // namespace kiravel
