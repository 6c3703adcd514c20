// The runner speaks JSON Lines. This writer builds one value at a time into
// a string; commas and nesting are its business, so the dump code only says
// what goes where.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kiravel::scenario {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray();
  JsonWriter& EndArray();
  // The name of the next member of the open object.
  JsonWriter& Key(std::string_view name);

  JsonWriter& String(std::string_view text);
  JsonWriter& Integer(std::int64_t value);
  JsonWriter& Number(double value);
  JsonWriter& Bool(bool value);
  JsonWriter& Null();

  const std::string& Text() const { return text_; }

 private:
  // Puts the comma between siblings; a value right after its key needs none.
  void BeforeValue();

  std::string text_;
  std::vector<bool> hasMembers_;  // one per open object or array
  bool afterKey_ = false;
};

// Text as a JSON string literal: quotes, backslashes and control characters
// escaped, other characters kept as UTF-8. Bytes that are not UTF-8 (a
// scenario line may hold anything) become U+FFFD, so the output always parses.
std::string JsonQuote(std::string_view text);

// A number as JSON: whole numbers without a fraction, others in the shortest
// form that reads back, after rounding to 9 significant digits so that the
// noise of unit conversions (4.9999999999 twips) does not reach the output.
// Not-a-number and infinities have no JSON form and are written as null.
std::string JsonNumber(double value);

}  // namespace kiravel::scenario
