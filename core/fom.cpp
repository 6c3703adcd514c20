#include "core/fom.h"

namespace kiravel {

Fom::Fom(Platform& platform, std::string programFolder, std::string writableFolder)
    : platform_(platform),
      programFolder_(std::move(programFolder)),
      writableFolder_(std::move(writableFolder)) {
  CreateControls();
}

std::string Fom::Relative(const std::string& path) const {
  if (!AppPath.empty() && path.rfind(AppPath, 0) == 0) return path.substr(AppPath.size());
  return path;
}

}  // namespace kiravel
