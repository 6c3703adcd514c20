#include <gtest/gtest.h>

#include "platform/picture_probe.h"
#include "tests/game_fixture.h"

namespace kiravel {
namespace {

using namespace std::string_literals;

void ExpectPicture(const std::string& bytes, PictureFormat format, int width, int height) {
  std::optional<PictureInfo> info = ProbePicture(bytes);
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->Format, format);
  EXPECT_EQ(info->Width, width);
  EXPECT_EQ(info->Height, height);
}

// Signature and the IHDR chunk of a 300 × 200 RGBA picture, with its CRC.
const std::string kPngHeader =
    "\x89PNG\r\n\x1a\n"s + "\0\0\0\x0dIHDR"s + "\0\0\x01\x2c\0\0\0\xc8\x08\x06\0\0\0"s +
    "\x52\xdf\xdc\x55"s;

TEST(PictureProbe, PngNeedsItsHeaderChunkIntact) {
  ExpectPicture(kPngHeader, PictureFormat::Png, 300, 200);
  ExpectPicture(kPngHeader + "\0\0\0\0IEND"s, PictureFormat::Png, 300, 200);
  std::string badCrc = kPngHeader;
  badCrc.back() ^= 1;
  EXPECT_FALSE(ProbePicture(badCrc));
  std::string otherWidth = kPngHeader;
  otherWidth[19] = '\x2d';  // the CRC no longer matches
  EXPECT_FALSE(ProbePicture(otherWidth));
  EXPECT_FALSE(ProbePicture(kPngHeader.substr(0, kPngHeader.size() - 1)));
}

// SOI, a JFIF segment, a Huffman table (C4, not a frame) and then the frame.
std::string Jpeg(char frameMarker, const std::string& beforeFrame = "") {
  std::string app0 = "\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0"s;
  std::string dht = "\xff\xc4\0\x05\x00\x01\x02"s;
  std::string frame = "\xff"s + frameMarker + "\0\x11\x08\x00\xf0\x01\x40\x03"s +
                      "\x01\x22\0\x02\x11\x01\x03\x11\x01"s;
  return "\xff\xd8"s + app0 + dht + beforeFrame + frame + "\xff\xda"s;
}

TEST(PictureProbe, JpegSizeComesFromTheFrameHeaderPastOtherSegments) {
  ExpectPicture(Jpeg('\xc0'), PictureFormat::Jpeg, 320, 240);
  ExpectPicture(Jpeg('\xc2'), PictureFormat::Jpeg, 320, 240);  // progressive
  ExpectPicture(Jpeg('\xc0', "\xff\xff"s), PictureFormat::Jpeg, 320, 240);  // fill bytes
  // The scan before any frame: no size to be had.
  EXPECT_FALSE(ProbePicture("\xff\xd8\xff\xda\0\x02"s + Jpeg('\xc0').substr(2)));
  std::string cut = Jpeg('\xc0');
  EXPECT_FALSE(ProbePicture(cut.substr(0, cut.find("\xff\xc0"s) + 7)));
  std::string zeroHeight = Jpeg('\xc0');
  std::size_t frame = zeroHeight.find("\xff\xc0"s);
  zeroHeight[frame + 5] = '\0';
  zeroHeight[frame + 6] = '\0';
  EXPECT_FALSE(ProbePicture(zeroHeight));
  // A segment length running past the end.
  EXPECT_FALSE(ProbePicture("\xff\xd8\xff\xe0\x40\x00JFIF"s));
}

TEST(PictureProbe, GifReadsTheLogicalScreen) {
  std::string gif = "GIF89a\x0a\x00\x14\x00\xf7\x00\x00"s;
  ExpectPicture(gif, PictureFormat::Gif, 10, 20);
  ExpectPicture("GIF87a"s + gif.substr(6), PictureFormat::Gif, 10, 20);
  EXPECT_FALSE(ProbePicture("GIF88a"s + gif.substr(6)));
  EXPECT_FALSE(ProbePicture(gif.substr(0, 12)));
  EXPECT_FALSE(ProbePicture("GIF89a\x00\x00\x14\x00\xf7\x00\x00"s));
}

TEST(PictureProbe, BmpHeightSignMeansRowOrderNotSize) {
  std::string bmp = testing::BmpBytes(8, 6);
  ExpectPicture(bmp, PictureFormat::Bmp, 8, 6);
  std::string topDown = bmp;
  topDown.replace(22, 4, "\xfa\xff\xff\xff"s);  // -6
  ExpectPicture(topDown, PictureFormat::Bmp, 8, 6);
  std::string lowest = bmp;
  lowest.replace(22, 4, "\x00\x00\x00\x80"s);  // -2^31 has no positive twin
  EXPECT_FALSE(ProbePicture(lowest));
  std::string core = "BM"s + std::string(12, '\0') + "\x0c\0\0\0\x05\0\x03\0\x01\0\x18\0"s;
  ExpectPicture(core, PictureFormat::Bmp, 5, 3);
  EXPECT_FALSE(ProbePicture(bmp.substr(0, 40)));  // header cut short
  std::string unknown = bmp;
  unknown[14] = 41;
  EXPECT_FALSE(ProbePicture(unknown));
  std::string noWidth = bmp;
  noWidth.replace(18, 4, "\0\0\0\0"s);
  EXPECT_FALSE(ProbePicture(noWidth));
}

TEST(PictureProbe, GarbageAndMissingFilesAreNoPictures) {
  EXPECT_FALSE(ProbePicture(""));
  EXPECT_FALSE(ProbePicture("hello, courier"));
  EXPECT_FALSE(ProbePicture("BM"));
  EXPECT_FALSE(ProbePicture("\xff\xd8"s));
  testing::DataFolder data;
  EXPECT_FALSE(ProbePictureFile(data.Path() + "img/none.dat"));
  EXPECT_FALSE(ProbePictureFile(data.Path() + "img"));
  // The ending says nothing: a GIF named .dat is a GIF.
  data.WriteBytes("img/ttl.dat", "GIF89a\x03\x00\x02\x00\x00\x00\x00"s);
  std::optional<PictureInfo> info = ProbePictureFile(data.Path() + "img/ttl.dat");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->Format, PictureFormat::Gif);
  EXPECT_EQ(info->Width, 3);
}

}  // namespace
}  // namespace kiravel
