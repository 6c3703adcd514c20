#include "check/findings.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>
#include <QString>
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

namespace {

std::string Shown(const std::string& folder, const std::string& file) {
  if (folder.empty()) return file;
  return folder.back() == '/' ? folder + file : folder + "/" + file;
}

const char* SeverityName(Severity severity) {
  return severity == Severity::Warning ? "warning" : "error";
}

}  // namespace

std::string Format(const Finding& finding, const std::string& folder) {
  std::string text = Shown(folder, finding.file);
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  return text + ": " + SeverityName(finding.severity) + ": " + finding.message;
}

std::string FormatJson(const std::vector<Finding>& findings, const std::string& folder) {
  QJsonArray list;
  for (const Finding& finding : findings) {
    QJsonObject object;
    object["file"] = QString::fromStdString(Shown(folder, finding.file));
    object["line"] = finding.line > 0 ? QJsonValue(finding.line) : QJsonValue(QJsonValue::Null);
    object["severity"] = SeverityName(finding.severity);
    object["message"] = QString::fromStdString(finding.message);
    list.append(object);
  }
  return QJsonDocument(list).toJson(QJsonDocument::Indented).toStdString();
}

}  // namespace kiravel::check
