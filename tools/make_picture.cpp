// kiravel-picture NAME TARGET: paints one of the game's fixed pictures from
// code and writes it as a BMP under the game's ".dat" name. The pictures are
// simple scenes: the title sky, the town, the forest, the tavern and the
// three monsters.
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

struct Rgb {
  double r, g, b;
};

Rgb Mix(Rgb a, Rgb b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

class Canvas {
 public:
  Canvas() : pixels_(kWidth * kHeight) {}

  void Sky(Rgb top, Rgb bottom) {
    for (int y = 0; y < kHeight; ++y) {
      for (int x = 0; x < kWidth; ++x) Set(x, y, Mix(top, bottom, y / double(kHeight - 1)));
    }
  }
  void Rect(int x0, int y0, int x1, int y1, Rgb colour) {
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) Set(x, y, colour);
    }
  }
  void Disc(double cx, double cy, double radius, Rgb colour) {
    for (int y = int(cy - radius); y <= int(cy + radius); ++y) {
      for (int x = int(cx - radius); x <= int(cx + radius); ++x) {
        if (std::hypot(x - cx, y - cy) <= radius) Set(x, y, colour);
      }
    }
  }
  void Triangle(int apexX, int apexY, int baseY, int halfWidth, Rgb colour) {
    for (int y = apexY; y < baseY; ++y) {
      int half = halfWidth * (y - apexY) / std::max(1, baseY - apexY);
      for (int x = apexX - half; x <= apexX + half; ++x) Set(x, y, colour);
    }
  }
  // A bottom-up 24-bit BMP.
  std::string Bmp() const {
    std::string bytes = "BM";
    const int row = kWidth * 3;
    auto put = [&](std::uint32_t v, int n) {
      for (int i = 0; i < n; ++i) bytes += char((v >> (8 * i)) & 0xFF);
    };
    put(54 + row * kHeight, 4), put(0, 4), put(54, 4), put(40, 4);
    put(kWidth, 4), put(kHeight, 4), put(1, 2), put(24, 2), put(0, 4);
    put(row * kHeight, 4), put(2835, 4), put(2835, 4), put(0, 4), put(0, 4);
    for (int y = kHeight - 1; y >= 0; --y) {
      for (int x = 0; x < kWidth; ++x) {
        const Rgb& p = pixels_[y * kWidth + x];
        bytes += char(p.b), bytes += char(p.g), bytes += char(p.r);
      }
    }
    return bytes;
  }

 private:
  void Set(int x, int y, Rgb colour) {
    if (x >= 0 && x < kWidth && y >= 0 && y < kHeight) pixels_[y * kWidth + x] = colour;
  }
  std::vector<Rgb> pixels_;
};

void Title(Canvas& c) {
  c.Sky({10, 14, 48}, {90, 60, 120});
  for (int i = 0; i < 60; ++i) c.Disc((i * 97) % kWidth, (i * 53) % 150, 1 + i % 2, {255, 250, 200});
  c.Disc(250, 50, 22, {255, 240, 170});
  c.Rect(0, 200, kWidth, kHeight, {30, 30, 50});
}

void Town(Canvas& c) {
  c.Sky({120, 180, 230}, {240, 220, 180});
  for (int i = 0; i < 6; ++i) {
    int x = 20 + i * 50, h = 60 + (i * 37) % 50;
    c.Rect(x, 200 - h, x + 40, 200, {180 - i * 10, 120, 90});
    c.Triangle(x + 20, 170 - h, 200 - h, 26, {140, 50, 40});
    c.Rect(x + 15, 180, x + 25, 200, {70, 40, 20});
  }
  c.Rect(0, 200, kWidth, kHeight, {150, 140, 120});
}

void Forest(Canvas& c) {
  c.Sky({150, 200, 160}, {40, 90, 50});
  for (int i = 0; i < 9; ++i) {
    int x = 15 + i * 37;
    c.Rect(x - 4, 170, x + 4, 215, {90, 60, 30});
    c.Triangle(x, 60 + (i * 29) % 40, 180, 30, {30, 110 + i * 8, 50});
  }
  c.Disc(160, 120, 6, {255, 255, 200});
  c.Rect(0, 215, kWidth, kHeight, {60, 80, 40});
}

void Tavern(Canvas& c) {
  c.Sky({60, 35, 20}, {120, 80, 40});
  c.Rect(0, 170, kWidth, 185, {150, 100, 50});
  for (int i = 0; i < 5; ++i) c.Rect(30 + i * 60, 140, 50 + i * 60, 170, {200, 180, 120});
  c.Disc(160, 40, 18, {255, 200, 90});
  c.Rect(0, 185, kWidth, kHeight, {70, 40, 25});
}

void Monster(Canvas& c, Rgb body) {
  c.Sky({40, 40, 40}, {90, 90, 90});
  c.Disc(160, 130, 80, body);
  c.Disc(130, 110, 14, {255, 255, 255});
  c.Disc(190, 110, 14, {255, 255, 255});
  c.Disc(133, 112, 6, {0, 0, 0});
  c.Disc(187, 112, 6, {0, 0, 0});
  c.Rect(125, 160, 195, 170, {40, 0, 0});
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: kiravel-picture NAME TARGET\n";
    return 2;
  }
  const std::map<std::string, std::function<void(Canvas&)>> painters = {
      {"ttl", Title},
      {"mati", Town},
      {"you", Forest},
      {"bar", Tavern},
      {"mon0", [](Canvas& c) { Monster(c, {210, 60, 40}); }},
      {"mon1", [](Canvas& c) { Monster(c, {70, 170, 60}); }},
      {"mon2", [](Canvas& c) { Monster(c, {60, 110, 210}); }},
  };
  auto painter = painters.find(argv[1]);
  if (painter == painters.end()) {
    std::cerr << "kiravel-picture: no picture named " << argv[1] << "\n";
    return 2;
  }
  Canvas canvas;
  painter->second(canvas);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << canvas.Bmp();
  return out.flush() ? 0 : 1;
}
