// The pictures of the picture panel and of the monster in the battle panel:
// each file is loaded into the buffer E and copied into its panel,
// stretched to fill it.
#include "core/fom.h"
#include "platform/data_folder.h"

namespace kiravel {

namespace {

// A scene naming many missing pictures would otherwise bury the player in
// boxes, one for each.
constexpr int kMissingPictureBoxesPerScene = 3;

}  // namespace

bool Fom::ShowTtlPicture(const std::string& name) {
  return PaintPicture(Pic, name.empty() ? kTitlePicture : name);
}

bool Fom::ShowMonPicture(const std::string& name) {
  return PaintPicture(PicBtlGrf, name.empty() ? kTitlePicture : MonsterPicture(name));
}

// Names come from story scripts; one the game cannot name safely (leaving
// the picture folder, or cut short by a NUL) is never opened.
bool Fom::PaintPicture(PictureBox& target, const std::string& name) {
  target.Picture = nullptr;
  target.PictureFile.clear();
  ++target.PaintCount;
  const std::string path = DataDir[0] + DataFileName(name);
  const std::string file = Relative(path);
  std::shared_ptr<const Image> picture =
      IsSafeNamePart(name) ? platform_.LoadPicture(path) : nullptr;
  if (picture == nullptr) {
    if (OnPictureRequest) OnPictureRequest(target, file, false);
    ReportMissingPicture(file);
    return false;
  }
  reportedPictures_.erase(file);

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

// Every resize asks for the title picture again; one message for each
// picture is enough, and a few for one scene.
void Fom::ReportMissingPicture(const std::string& file) {
  if (reportedPictures_.count(file) != 0) return;
  std::string text = "絵「" + file + "」を読み込めません。";
  if (ScriptOpen()) {
    if (missingPictureBoxes_ >= kMissingPictureBoxesPerScene) return;
    if (++missingPictureBoxes_ == kMissingPictureBoxesPerScene) {
      text += "\r\nこの場面でこの後に読み込めない絵があっても、もうお知らせしません。";
    }
  }
  reportedPictures_.insert(file);
  platform_.ReportFailure(text);
}

}  // namespace kiravel
