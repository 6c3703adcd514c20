// The pictures of the picture panel and of the monster in the battle panel:
// each file is loaded into the buffer E and copied into its panel,
// stretched to fill it.
#include <algorithm>

#include "core/fom.h"

namespace kiravel {

namespace {

constexpr const char* kTitlePicture = "ttl.dat";

// Names come from story scripts; one that climbs out of the picture folder,
// or that the file system would cut short, is never opened.
bool SafePictureName(const std::string& fileName) {
  return fileName.find_first_of(std::string("/\\\0", 3)) == std::string::npos &&
         fileName.find("..") == std::string::npos;
}

}  // namespace

bool Fom::ShowTtlPicture(const std::string& name) {
  return PaintPicture(Pic, name.empty() ? kTitlePicture : name + ".dat");
}

bool Fom::ShowMonPicture(const std::string& name) {
  return PaintPicture(PicBtlGrf, name.empty() ? kTitlePicture : "mon" + name + ".dat");
}

bool Fom::PaintPicture(PictureBox& target, const std::string& fileName) {
  target.Picture = nullptr;
  target.PictureFile.clear();
  ++target.PaintCount;
  const std::string path = DataDir[0] + fileName;
  const std::string file = Relative(path);
  std::shared_ptr<const Image> picture =
      SafePictureName(fileName) ? platform_.LoadPicture(path) : nullptr;
  auto reported = std::find(reportedPictures_.begin(), reportedPictures_.end(), file);
  if (picture == nullptr) {
    if (OnPictureRequest) OnPictureRequest(target, file, false);
    // Every resize asks for the title picture again; one message is enough.
    if (reported != reportedPictures_.end()) return false;
    reportedPictures_.push_back(file);
    platform_.ReportFailure("絵「" + file + "」を読み込めません。");
    return false;
  }
  if (reported != reportedPictures_.end()) reportedPictures_.erase(reported);

  const double twipsPerPixel = platform_.TwipsPerPixel();
  E.Picture = picture;
  E.WidthTwips = picture->Width * twipsPerPixel;
  E.HeightTwips = picture->Height * twipsPerPixel;
  target.SetScalePixels(twipsPerPixel);
  E.SetScalePixels(twipsPerPixel);
  target.Picture = E.Picture;
  target.PictureFile = file;
  ++target.PaintCount;
  target.Visible = true;
  if (OnPictureRequest) OnPictureRequest(target, file, true);
  return true;
}

}  // namespace kiravel
