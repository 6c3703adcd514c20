// What the checker has to tell a data author: one line per problem, naming
// the file and the line as compilers do, so editors can jump to it; or the
// same findings as JSON for tools.
#pragma once

#include <string>
#include <vector>

namespace kiravel::check {

enum class Severity { Error, Warning };

struct Finding {
  std::string file;  // below the data folder, as the game names it
  int line = 0;      // 1-based; 0 for the file as a whole
  Severity severity = Severity::Error;
  std::string message;
};

class Findings {
 public:
  void Error(const std::string& file, int line, const std::string& message) {
    list_.push_back({file, line, Severity::Error, message});
  }
  void Warning(const std::string& file, int line, const std::string& message) {
    list_.push_back({file, line, Severity::Warning, message});
  }
  // By file, then line; findings of one line keep the order they were made.
  std::vector<Finding> Sorted() const;
  bool HasErrors() const;

 private:
  std::vector<Finding> list_;
};

// "FOLDER/FILE:3: error: message", the file named from the folder as the
// user typed it ("data" or "data/"); a finding about a whole file has no line:
// "FOLDER/FILE: warning: message".
std::string Format(const Finding& finding, const std::string& folder);

// All findings as one JSON array of {"file", "line", "severity", "message"},
// files named as Format names them and "line" null for a whole file.
std::string FormatJson(const std::vector<Finding>& findings, const std::string& folder);

}  // namespace kiravel::check
