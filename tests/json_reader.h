// Reads the runner's JSON lines back in the tests: just enough JSON for
// what kiravel-run prints.
#pragma once

#include <cmath>
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/vb.h"

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
};

class JsonReader {
 public:
  explicit JsonReader(std::string_view text) : text_(text) {}

  Json Read() {
    Json value = Value();
    Skip();
    if (at_ != text_.size()) throw std::runtime_error("trailing text");
    return value;
  }

 private:
  void Skip() {
    while (at_ < text_.size() &&
           std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos)
      ++at_;
  }
  char Next() {
    if (at_ >= text_.size()) throw std::runtime_error("unexpected end");
    return text_[at_++];
  }
  void Expect(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) throw std::runtime_error("bad literal");
    at_ += word.size();
  }
  Json Value() {
    Skip();
    Json value;
    char c = text_.at(at_);
    if (c == '{') return Object();
    if (c == '[') return Array();
    if (c == '"') {
      value.kind = Json::Kind::Text;
      value.text = Text();
    } else if (c == 't' || c == 'f') {
      value.kind = Json::Kind::Bool;
      value.flag = c == 't';
      Expect(value.flag ? "true" : "false");
    } else if (c == 'n') {
      Expect("null");
    } else {
      value.kind = Json::Kind::Number;
      std::size_t used = 0;
      value.number = std::stod(std::string(text_.substr(at_)), &used);
      at_ += used;
    }
    return value;
  }
  std::string Text() {
    Next();  // the opening quote
    std::string out;
    for (char c = Next(); c != '"'; c = Next()) {
      if (static_cast<unsigned char>(c) < 0x20) throw std::runtime_error("raw control character");
      if (c != '\\') {
        out += c;
        continue;
      }
      char escaped = Next();
      const std::string_view from = "\"\\/bfnrt", to = "\"\\/\b\f\n\r\t";
      if (escaped == 'u') {
        out += CodePointsToUtf8(std::u32string(
            1, static_cast<char32_t>(std::stoi(std::string(text_.substr(at_, 4)), nullptr, 16))));
        at_ += 4;
      } else if (from.find(escaped) != std::string_view::npos) {
        out += to[from.find(escaped)];
      } else {
        throw std::runtime_error("bad escape");
      }
    }
    return out;
  }
  Json Array() {
    Json value;
    value.kind = Json::Kind::Array;
    Next();
    Skip();
    if (text_.at(at_) == ']') return Next(), value;
    do {
      value.items.push_back(Value());
      Skip();
    } while (Next() == ',');
    return value;
  }
  Json Object() {
    Json value;
    value.kind = Json::Kind::Object;
    Next();
    Skip();
    if (text_.at(at_) == '}') return Next(), value;
    do {
      Skip();
      std::string key = Text();
      Skip();
      if (Next() != ':') throw std::runtime_error("missing colon");
      value.members.emplace_back(key, Value());
      Skip();
    } while (Next() == ',');
    return value;
  }

  std::string_view text_;
  std::size_t at_ = 0;
};

}  // namespace kiravel::testing
