// What the checker has to tell a data author: one line per problem, naming
// the file (relative to the data folder) and the line, as compilers do.
#pragma once

#include <string>
#include <vector>

namespace kiravel::check {

enum class Severity { Error, Warning };

struct Finding {
  std::string file;  // "txt/opn.dat"
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

// "txt/opn.dat:3: message", warnings marked as such.
std::string Format(const Finding& finding);

}  // namespace kiravel::check
