#include "app/kiravel-check/findings.h"

#include <algorithm>

namespace kiravel::check {

std::vector<Finding> Findings::Sorted() const {
  std::vector<Finding> sorted = list_;
  std::stable_sort(sorted.begin(), sorted.end(), [](const Finding& a, const Finding& b) {
    return a.file != b.file ? a.file < b.file : a.line < b.line;
  });
  return sorted;
}

bool Findings::HasErrors() const {
  return std::any_of(list_.begin(), list_.end(),
                     [](const Finding& f) { return f.severity == Severity::Error; });
}

std::string Format(const Finding& finding) {
  std::string text = finding.file + ":" + std::to_string(finding.line) + ": ";
  if (finding.severity == Severity::Warning) text += "warning: ";
  return text + finding.message;
}

}  // namespace kiravel::check
