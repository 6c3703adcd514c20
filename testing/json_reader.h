// Reads the runner's JSON lines back in the tests, as plain values the tests
// can compare.
#pragma once

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace kiravel::testing {

struct Json {
  enum class Kind { Null, Bool, Number, Text, Array, Object } kind = Kind::Null;
  bool flag = false;
  double number = 0;
  std::string text;
  std::vector<Json> items;
  std::vector<std::pair<std::string, Json>> members;

  bool Has(std::string_view key) const {
    for (const auto& member : members) {
      if (member.first == key) return true;
    }
    return false;
  }
  const Json& operator[](std::string_view key) const {
    for (const auto& member : members) {
      if (member.first == key) return member.second;
    }
    throw std::out_of_range("no member " + std::string(key));
  }
  const Json& operator[](std::size_t i) const { return items.at(i); }
  int Int() const { return static_cast<int>(std::lround(number)); }
  // Numbers, or texts holding numbers (the hidden lists), as whole numbers.
  std::vector<int> Ints() const {
    std::vector<int> values;
    for (const Json& item : items) {
      values.push_back(item.kind == Kind::Text ? std::stoi(item.text) : item.Int());
    }
    return values;
  }
  std::vector<std::string> Texts() const {
    std::vector<std::string> texts;
    for (const Json& item : items) texts.push_back(item.text);
    return texts;
  }
  // Defined below the struct, where the members' type is whole: clang would
  // otherwise need them while the struct itself is still being defined.
  Json();
  Json(const Json&);
  Json(Json&&) noexcept;
  Json& operator=(const Json&);
  Json& operator=(Json&&) noexcept;
  ~Json();
};

inline Json::Json() = default;
inline Json::Json(const Json&) = default;
inline Json::Json(Json&&) noexcept = default;
inline Json& Json::operator=(const Json&) = default;
inline Json& Json::operator=(Json&&) noexcept = default;
inline Json::~Json() = default;

// Parses one line with nlohmann-json, keeping the order of object members as
// the runner wrote them; throws on anything that is not valid JSON.
class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  Json Read() const { return From(nlohmann::ordered_json::parse(text_)); }

 private:
  static Json From(const nlohmann::ordered_json& parsed) {
    Json value;
    if (parsed.is_boolean()) {
      value.kind = Json::Kind::Bool;
      value.flag = parsed.get<bool>();
    } else if (parsed.is_number()) {
      value.kind = Json::Kind::Number;
      value.number = parsed.get<double>();
    } else if (parsed.is_string()) {
      value.kind = Json::Kind::Text;
      value.text = parsed.get<std::string>();
    } else if (parsed.is_array()) {
      value.kind = Json::Kind::Array;
      for (const auto& item : parsed) value.items.push_back(From(item));
    } else if (parsed.is_object()) {
      value.kind = Json::Kind::Object;
      for (const auto& [key, item] : parsed.items()) value.members.emplace_back(key, From(item));
    }
    return value;
  }

  std::string_view text_;
};

}  // namespace kiravel::testing
