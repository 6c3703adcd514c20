// kiravel-picture SCENES NAME TARGET: paints the picture NAME described in
// the scene file SCENES (scenes.txt beside the pictures) and writes it as a PNG under
// the game's picture name. A scene is a list of painting steps, back to front;
// every picture gets the same soft edge and frame, so the set looks like one
// picture book. A step the painter does not know stops it with
// "SCENES:LINE: message".
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <charconv>
#include <cmath>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 600;   // the picture panel is 6 wide to 5 high
constexpr int kHeight = 500;
// How far down the game's text reaches: a full page of the story.
constexpr double kTextDepth = 0.42;

struct Step {
  std::string verb;
  std::vector<std::string> args;
  int line = 0;
};

class SceneError : public std::runtime_error {
 public:
  SceneError(int line, const std::string& what) : std::runtime_error(what), line_(line) {}
  int Line() const { return line_; }

 private:
  int line_;
};

// The arguments of one step, read in order: numbers are fractions of the
// picture (x of its width, y and sizes of its height), colours are #RRGGBB
// or one of the game's attribute names.
class Args {
 public:
  explicit Args(const Step& step) : step_(step) {}
  double X() { return Number() * kWidth; }
  double Y() { return Number() * kHeight; }
  double Size() { return Number() * kHeight; }
  int Count() { return static_cast<int>(Number()); }
  // Written with a point whatever the language of the desktop the pictures
  // are painted on.
  double Number() {
    const std::string& word = Next();
    double value = 0;
    const char* end = word.data() + word.size();
    auto [stop, fault] = std::from_chars(word.data(), end, value);
    if (fault == std::errc() && stop == end) return value;
    throw SceneError(step_.line, "\"" + word + "\" is not a number");
  }
  QColor Colour() {
    static const std::map<std::string, QColor> kNamed = {
        {"fire", QColor(232, 86, 52)},   {"grass", QColor(84, 172, 72)},
        {"water", QColor(60, 140, 224)}, {"gold", QColor(255, 206, 96)},
        {"night", QColor(24, 28, 64)},   {"white", QColor(250, 248, 240)},
    };
    const std::string& word = Next();
    auto named = kNamed.find(word);
    if (named != kNamed.end()) return named->second;
    QColor colour(QString::fromStdString(word));
    if (!colour.isValid()) throw SceneError(step_.line, "\"" + word + "\" is not a colour");
    return colour;
  }
  std::string Rest() {
    std::string text;
    while (at_ < step_.args.size()) text += (text.empty() ? "" : " ") + step_.args[at_++];
    return text;
  }

 private:
  const std::string& Next() {
    if (at_ >= step_.args.size()) throw SceneError(step_.line, step_.verb + ": too few values");
    return step_.args[at_++];
  }
  const Step& step_;
  std::size_t at_ = 0;
};

QColor WithAlpha(QColor colour, int alpha) {
  colour.setAlpha(alpha);
  return colour;
}

QColor Shade(const QColor& colour, int factor) {
  return factor >= 100 ? colour.lighter(factor) : colour.darker(10000 / std::max(factor, 1));
}

// ---- The painter's vocabulary ----

class Canvas {
 public:
  Canvas(QImage& image, unsigned seed) : painter_(&image), random_(seed) {
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
  }

  void Run(const Step& step) {
    using Verb = void (Canvas::*)(Args&);
    static const std::map<std::string, Verb> kVerbs = {
        {"sky", &Canvas::Sky},         {"stars", &Canvas::Stars},   {"disc", &Canvas::Disc},
        {"glow", &Canvas::Glow},       {"hills", &Canvas::Hills},   {"mountains", &Canvas::Mountains},
        {"ground", &Canvas::Ground},   {"sea", &Canvas::Sea},       {"road", &Canvas::Road},
        {"tree", &Canvas::Tree},       {"pine", &Canvas::Pine},     {"bare", &Canvas::Bare},
        {"house", &Canvas::House},     {"town", &Canvas::Town},     {"lighthouse", &Canvas::Lighthouse},
        {"flame", &Canvas::Flame},     {"lantern", &Canvas::Lantern}, {"boat", &Canvas::Boat},
        {"courier", &Canvas::Courier}, {"person", &Canvas::Person}, {"fairy", &Canvas::Fairy},
        {"monster", &Canvas::Monster}, {"rain", &Canvas::Rain},     {"snow", &Canvas::Snow},
        {"sparks", &Canvas::Sparks},   {"flowers", &Canvas::Flowers}, {"reeds", &Canvas::Reeds},
        {"rock", &Canvas::Rock},       {"rect", &Canvas::Rect},     {"fog", &Canvas::Fog},
        {"text", &Canvas::Text},       {"logs", &Canvas::Logs},     {"fountain", &Canvas::Fountain},
        {"table", &Canvas::Table},     {"window", &Canvas::Window}, {"crate", &Canvas::Crate},
    };
    auto verb = kVerbs.find(step.verb);
    if (verb == kVerbs.end()) throw SceneError(step.line, "no painting step \"" + step.verb + "\"");
    Args args(step);
    (this->*verb->second)(args);
    if (!args.Rest().empty()) throw SceneError(step.line, step.verb + ": too many values");
  }

  // The same finish on every picture: the game writes its black text over
  // the upper part (the story from the top, the town's messages from the
  // top-left corner), so that part is veiled in pale paper, night scenes
  // too; the lower corners darken softly, and a thin pale frame runs round.
  void Finish() {
    QRadialGradient edge(kWidth / 2.0, kHeight * 0.3, kWidth * 0.75);
    edge.setColorAt(0.6, QColor(0, 0, 0, 0));
    edge.setColorAt(1.0, QColor(0, 0, 0, 110));
    painter_.fillRect(0, kHeight / 2, kWidth, kHeight / 2, edge);
    QLinearGradient page(0, 0, 0, kHeight);
    const QColor paper(252, 248, 236);
    page.setColorAt(0, WithAlpha(paper, 190));
    page.setColorAt(kTextDepth, WithAlpha(paper, 175));
    page.setColorAt(kTextDepth + 0.12, WithAlpha(paper, 0));
    painter_.fillRect(0, 0, kWidth, kHeight, page);
    painter_.setPen(QPen(QColor(226, 214, 190), 6));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRect(3, 3, kWidth - 6, kHeight - 6);
  }

 private:
  double Draw(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

  void Fill(const QPainterPath& path, const QColor& colour) {
    painter_.setPen(QPen(Shade(colour, 60), 1.5));
    painter_.setBrush(colour);
    painter_.drawPath(path);
  }
  void Blob(double x, double y, double r, const QColor& colour) {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(colour);
    painter_.drawEllipse(QPointF(x, y), r, r);
  }

  // sky TOP BOTTOM
  void Sky(Args& a) {
    QLinearGradient g(0, 0, 0, kHeight);
    g.setColorAt(0, a.Colour());
    g.setColorAt(1, a.Colour());
    painter_.fillRect(0, 0, kWidth, kHeight, g);
  }
  // stars COUNT: above the middle of the picture
  void Stars(Args& a) {
    const int n = a.Count();
    for (int i = 0; i < n; ++i) {
      Blob(Draw(0, kWidth), Draw(0, kHeight * 0.55), Draw(0.6, 1.8), QColor(255, 250, 215, int(Draw(120, 255))));
    }
  }
  // disc X Y R COLOUR: a sun, a moon, a round window
  void Disc(Args& a) {
    const double x = a.X(), y = a.Y(), r = a.Size();
    Blob(x, y, r, a.Colour());
  }
  // glow X Y R COLOUR
  void Glow(Args& a) {
    const double x = a.X(), y = a.Y(), r = a.Size();
    QColor c = a.Colour();
    QRadialGradient g(x, y, r);
    g.setColorAt(0, QColor(c.red(), c.green(), c.blue(), 200));
    g.setColorAt(1, QColor(c.red(), c.green(), c.blue(), 0));
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(g);
    painter_.drawEllipse(QPointF(x, y), r, r);
  }
  // hills Y AMPLITUDE COLOUR: rolling land from Y down
  void Hills(Args& a) {
    const double y = a.Y(), amplitude = a.Size();
    const QColor c = a.Colour();
    const double phase = Draw(0, 6.28), wave = Draw(1.5, 3.0);
    QPainterPath path(QPointF(0, kHeight));
    for (int x = 0; x <= kWidth; x += 10) {
      path.lineTo(x, y - amplitude * (0.5 + 0.5 * std::sin(phase + wave * 6.28 * x / kWidth)));
    }
    path.lineTo(kWidth, kHeight);
    QLinearGradient g(0, y - amplitude, 0, kHeight);
    g.setColorAt(0, c);
    g.setColorAt(1, Shade(c, 55));
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(g);
    painter_.drawPath(path);
  }
  // mountains Y HEIGHT COLOUR
  void Mountains(Args& a) {
    const double y = a.Y(), h = a.Size();
    const QColor c = a.Colour();
    QPainterPath path(QPointF(0, y));
    for (double x = 0; x < kWidth;) {
      const double step = Draw(60, 130);
      path.lineTo(x + step / 2, y - h * Draw(0.45, 1.0));
      path.lineTo(x + step, y - h * Draw(0.0, 0.2));
      x += step;
    }
    path.lineTo(kWidth, kHeight);
    path.lineTo(0, kHeight);
    Fill(path, c);
  }
  // ground Y COLOUR
  void Ground(Args& a) {
    const double y = a.Y();
    const QColor c = a.Colour();
    QLinearGradient g(0, y, 0, kHeight);
    g.setColorAt(0, c);
    g.setColorAt(1, Shade(c, 65));
    painter_.fillRect(QRectF(0, y, kWidth, kHeight - y), g);
  }
  // sea Y COLOUR: water with glinting ripples
  void Sea(Args& a) {
    const double y = a.Y();
    const QColor c = a.Colour();
    QLinearGradient g(0, y, 0, kHeight);
    g.setColorAt(0, Shade(c, 130));
    g.setColorAt(1, Shade(c, 60));
    painter_.fillRect(QRectF(0, y, kWidth, kHeight - y), g);
    painter_.setPen(QPen(QColor(255, 255, 255, 90), 2));
    for (int i = 0; i < 40; ++i) {
      const double ry = Draw(y + 4, kHeight), rx = Draw(0, kWidth), len = 8 + 30 * (ry - y) / kHeight;
      painter_.drawLine(QPointF(rx, ry), QPointF(rx + len, ry));
    }
  }
  // road X Y WIDTH COLOUR: from the far point X,Y widening to the bottom
  void Road(Args& a) {
    const double x = a.X(), y = a.Y(), w = a.Number() * kWidth;
    const QColor c = a.Colour();
    QPainterPath path(QPointF(x - 4, y));
    path.cubicTo(x + 40, y + (kHeight - y) * 0.4, x - 80, y + (kHeight - y) * 0.6, kWidth / 2.0 - w / 2, kHeight);
    path.lineTo(kWidth / 2.0 + w / 2, kHeight);
    path.cubicTo(x - 10, y + (kHeight - y) * 0.6, x + 60, y + (kHeight - y) * 0.4, x + 4, y);
    path.closeSubpath();
    Fill(path, c);
  }
  // tree X Y SIZE COLOUR: a round leafy tree standing at X,Y
  void Tree(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor c = a.Colour();
    painter_.fillRect(QRectF(x - s * 0.06, y - s * 0.45, s * 0.12, s * 0.45), QColor(96, 64, 40));
    for (int i = 0; i < 6; ++i) {
      Blob(x + Draw(-0.22, 0.22) * s, y - s * 0.6 + Draw(-0.18, 0.18) * s, s * Draw(0.16, 0.26), Shade(c, int(Draw(75, 120))));
    }
  }
  // pine X Y SIZE COLOUR
  void Pine(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor c = a.Colour();
    painter_.fillRect(QRectF(x - s * 0.04, y - s * 0.15, s * 0.08, s * 0.15), QColor(90, 60, 36));
    for (int tier = 0; tier < 3; ++tier) {
      const double top = y - s * (1.0 - tier * 0.25), base = y - s * (0.45 - tier * 0.15), half = s * (0.16 + tier * 0.06);
      QPainterPath path(QPointF(x, top));
      path.lineTo(x + half, base);
      path.lineTo(x - half, base);
      path.closeSubpath();
      Fill(path, Shade(c, 85 + tier * 10));
    }
  }
  // bare X Y SIZE: a dead tree without leaves
  void Bare(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    painter_.setPen(QPen(QColor(200, 190, 170), s * 0.06, Qt::SolidLine, Qt::RoundCap));
    painter_.drawLine(QPointF(x, y), QPointF(x, y - s * 0.6));
    painter_.setPen(QPen(QColor(200, 190, 170), s * 0.025, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
      const double from = y - s * Draw(0.3, 0.6), side = i % 2 ? 1 : -1;
      painter_.drawLine(QPointF(x, from), QPointF(x + side * s * Draw(0.15, 0.35), from - s * Draw(0.1, 0.35)));
    }
  }
  void HouseAt(double x, double y, double s, const QColor& wall, const QColor& roof) {
    const double w = s * 0.8, h = s * 0.6;
    QPainterPath body;
    body.addRect(QRectF(x - w / 2, y - h, w, h));
    Fill(body, wall);
    QPainterPath top(QPointF(x - w * 0.6, y - h));
    top.lineTo(x, y - h - s * 0.45);
    top.lineTo(x + w * 0.6, y - h);
    top.closeSubpath();
    Fill(top, roof);
    painter_.fillRect(QRectF(x - w * 0.3, y - h * 0.7, w * 0.2, h * 0.25), QColor(255, 214, 120));
    painter_.fillRect(QRectF(x + w * 0.1, y - h * 0.55, w * 0.2, h * 0.55), Shade(wall, 55));
  }
  // house X Y SIZE WALL ROOF
  void House(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor wall = a.Colour();
    HouseAt(x, y, s, wall, a.Colour());
  }
  // town X Y SIZE COUNT ROOF: a row of houses about X
  void Town(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const int n = a.Count();
    const QColor roof = a.Colour();
    for (int i = 0; i < n; ++i) {
      const double hx = x + (i - (n - 1) / 2.0) * s * 0.85;
      const QColor wall = QColor::fromHsv(int(Draw(20, 50)), int(Draw(40, 90)), int(Draw(190, 240)));
      HouseAt(hx, y + Draw(-0.04, 0.04) * s, s * Draw(0.8, 1.15), wall, Shade(roof, int(Draw(80, 120))));
    }
  }
  // lighthouse X Y SIZE LIGHT
  void Lighthouse(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor light = a.Colour();
    QPainterPath tower(QPointF(x - s * 0.12, y));
    tower.lineTo(x - s * 0.07, y - s * 0.8);
    tower.lineTo(x + s * 0.07, y - s * 0.8);
    tower.lineTo(x + s * 0.12, y);
    tower.closeSubpath();
    Fill(tower, QColor(236, 232, 222));
    for (int band = 0; band < 3; ++band) {
      const double by = y - s * (0.15 + band * 0.25);
      painter_.fillRect(QRectF(x - s * 0.1, by - s * 0.07, s * 0.2, s * 0.07), QColor(190, 60, 50));
    }
    painter_.fillRect(QRectF(x - s * 0.08, y - s * 0.95, s * 0.16, s * 0.15), light);
    QPainterPath cap(QPointF(x - s * 0.11, y - s * 0.95));
    cap.lineTo(x, y - s * 1.08);
    cap.lineTo(x + s * 0.11, y - s * 0.95);
    cap.closeSubpath();
    Fill(cap, QColor(70, 60, 60));
  }
  // flame X Y SIZE: a fire standing at X,Y
  void Flame(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor layers[] = {QColor(220, 60, 30), QColor(250, 150, 40), QColor(255, 235, 150)};
    for (int i = 0; i < 3; ++i) {
      const double k = 1.0 - i * 0.28;
      QPainterPath path(QPointF(x, y - s * k));
      path.cubicTo(x + s * 0.35 * k, y - s * 0.45 * k, x + s * 0.3 * k, y, x, y);
      path.cubicTo(x - s * 0.3 * k, y, x - s * 0.35 * k, y - s * 0.45 * k, x, y - s * k);
      painter_.setPen(Qt::NoPen);
      painter_.setBrush(layers[i]);
      painter_.drawPath(path);
    }
  }
  // lantern X Y SIZE COLOUR: hanging paper lantern
  void Lantern(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor c = a.Colour();
    painter_.setPen(QPen(QColor(60, 40, 30), 1.5));
    painter_.drawLine(QPointF(x, y - s), QPointF(x, y - s * 0.5));
    painter_.setBrush(c);
    painter_.drawEllipse(QPointF(x, y - s * 0.3), s * 0.17, s * 0.22);
  }
  // boat X Y SIZE
  void Boat(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    QPainterPath hull(QPointF(x - s * 0.5, y - s * 0.15));
    hull.lineTo(x + s * 0.5, y - s * 0.15);
    hull.lineTo(x + s * 0.35, y);
    hull.lineTo(x - s * 0.35, y);
    hull.closeSubpath();
    Fill(hull, QColor(130, 84, 50));
  }
  void FigureAt(double x, double y, double s, const QColor& coat, bool courier) {
    painter_.setPen(QPen(QColor(50, 36, 30), s * 0.07, Qt::SolidLine, Qt::RoundCap));
    painter_.drawLine(QPointF(x - s * 0.06, y - s * 0.35), QPointF(x - s * 0.09, y));
    painter_.drawLine(QPointF(x + s * 0.06, y - s * 0.35), QPointF(x + s * 0.09, y));
    QPainterPath body;
    body.addRoundedRect(QRectF(x - s * 0.14, y - s * 0.75, s * 0.28, s * 0.45), s * 0.08, s * 0.08);
    Fill(body, coat);
    Blob(x, y - s * 0.86, s * 0.12, QColor(244, 210, 178));
    if (!courier) return;
    QPainterPath hat;
    hat.addEllipse(QPointF(x, y - s * 0.94), s * 0.2, s * 0.05);
    hat.addRect(QRectF(x - s * 0.1, y - s * 1.06, s * 0.2, s * 0.12));
    Fill(hat, QColor(120, 80, 50));
    QPainterPath bag;
    bag.addRoundedRect(QRectF(x + s * 0.1, y - s * 0.55, s * 0.2, s * 0.18), s * 0.03, s * 0.03);
    Fill(bag, QColor(170, 120, 60));
  }
  // courier X Y SIZE: the courier with hat and bag, standing at X,Y
  void Courier(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    FigureAt(x, y, s, QColor(70, 110, 160), true);
  }
  // person X Y SIZE COAT
  void Person(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    FigureAt(x, y, s, a.Colour(), false);
  }
  // fairy X Y SIZE COLOUR: a glowing little figure with wings
  void Fairy(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor c = a.Colour();
    QRadialGradient halo(x, y, s * 1.6);
    halo.setColorAt(0, QColor(c.red(), c.green(), c.blue(), 170));
    halo.setColorAt(1, QColor(c.red(), c.green(), c.blue(), 0));
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(halo);
    painter_.drawEllipse(QPointF(x, y), s * 1.6, s * 1.6);
    painter_.setBrush(QColor(255, 255, 255, 150));
    painter_.drawEllipse(QPointF(x - s * 0.45, y - s * 0.2), s * 0.4, s * 0.22);
    painter_.drawEllipse(QPointF(x + s * 0.45, y - s * 0.2), s * 0.4, s * 0.22);
    Blob(x, y + s * 0.15, s * 0.28, Shade(c, 120));
    Blob(x, y - s * 0.3, s * 0.2, QColor(255, 236, 214));
  }
  // monster X Y SIZE COLOUR: a round beast with horns and a grin
  void Monster(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor c = a.Colour();
    for (int side : {-1, 1}) {
      QPainterPath horn(QPointF(x + side * s * 0.25, y - s * 0.35));
      horn.lineTo(x + side * s * 0.45, y - s * 0.75);
      horn.lineTo(x + side * s * 0.1, y - s * 0.42);
      horn.closeSubpath();
      Fill(horn, QColor(240, 230, 200));
    }
    QPainterPath body;
    body.addEllipse(QPointF(x, y), s * 0.5, s * 0.42);
    QRadialGradient g(x - s * 0.15, y - s * 0.15, s * 0.6);
    g.setColorAt(0, Shade(c, 130));
    g.setColorAt(1, Shade(c, 70));
    painter_.setPen(QPen(Shade(c, 45), 3));
    painter_.setBrush(g);
    painter_.drawPath(body);
    for (int side : {-1, 1}) {
      Blob(x + side * s * 0.17, y - s * 0.1, s * 0.1, QColor(255, 250, 220));
      Blob(x + side * s * 0.15, y - s * 0.08, s * 0.045, QColor(30, 20, 20));
    }
    painter_.setPen(QPen(QColor(40, 20, 20), 3));
    painter_.setBrush(QColor(120, 30, 40));
    painter_.drawChord(QRectF(x - s * 0.2, y - s * 0.05, s * 0.4, s * 0.3), 180 * 16, 180 * 16);
  }
  // rain COUNT
  void Rain(Args& a) {
    const int n = a.Count();
    painter_.setPen(QPen(QColor(200, 220, 255, 120), 1.5));
    for (int i = 0; i < n; ++i) {
      const double x = Draw(0, kWidth + 60), y = Draw(0, kHeight);
      painter_.drawLine(QPointF(x, y), QPointF(x - 8, y + 22));
    }
  }
  // snow COUNT
  void Snow(Args& a) {
    const int n = a.Count();
    for (int i = 0; i < n; ++i) Blob(Draw(0, kWidth), Draw(0, kHeight), Draw(1, 3), QColor(255, 255, 255, 200));
  }
  // sparks X Y RADIUS COUNT COLOUR: little lights about a point
  void Sparks(Args& a) {
    const double x = a.X(), y = a.Y(), r = a.Size();
    const int n = a.Count();
    const QColor c = a.Colour();
    for (int i = 0; i < n; ++i) {
      const double angle = Draw(0, 6.28), d = r * std::sqrt(Draw(0, 1));
      Blob(x + d * std::cos(angle), y + d * std::sin(angle), Draw(1.5, 3.5), c);
    }
  }
  // flowers TOP COUNT COLOUR: blossoms scattered below TOP
  void Flowers(Args& a) {
    const double top = a.Y();
    const int n = a.Count();
    const QColor c = a.Colour();
    for (int i = 0; i < n; ++i) {
      const double y = Draw(top, kHeight), r = 2 + 4 * (y - top) / (kHeight - top + 1);
      const double x = Draw(0, kWidth);
      for (int petal = 0; petal < 5; ++petal) {
        Blob(x + r * std::cos(petal * 1.256), y + r * std::sin(petal * 1.256), r * 0.7, c);
      }
      Blob(x, y, r * 0.5, QColor(255, 230, 90));
    }
  }
  // reeds X0 X1 Y HEIGHT: a bed of reeds between X0 and X1
  void Reeds(Args& a) {
    const double x0 = a.X(), x1 = a.X(), y = a.Y(), h = a.Size();
    painter_.setPen(QPen(QColor(80, 130, 60), 2));
    for (double x = x0; x < x1; x += 5) {
      const double top = y - h * Draw(0.6, 1.0), lean = Draw(-8, 8);
      painter_.drawLine(QPointF(x, y), QPointF(x + lean, top));
      if (Draw(0, 1) < 0.3) Blob(x + lean, top, 3, QColor(120, 90, 50));
    }
  }
  // rock X Y SIZE COLOUR
  void Rock(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    QPainterPath path;
    path.addRoundedRect(QRectF(x - s * 0.6, y - s * 0.6, s * 1.2, s * 0.6), s * 0.25, s * 0.25);
    Fill(path, a.Colour());
  }
  // rect X Y W H COLOUR: a wall, a floor, a counter
  void Rect(Args& a) {
    const double x = a.X(), y = a.Y(), w = a.Number() * kWidth, h = a.Size();
    painter_.fillRect(QRectF(x, y, w, h), a.Colour());
  }
  // fog TOP ALPHA: mist thickening from TOP down
  void Fog(Args& a) {
    const double top = a.Y();
    const int alpha = a.Count();
    QLinearGradient g(0, top, 0, kHeight);
    g.setColorAt(0, QColor(235, 240, 245, 0));
    g.setColorAt(0.5, QColor(235, 240, 245, alpha));
    g.setColorAt(1, QColor(235, 240, 245, alpha / 2));
    painter_.fillRect(QRectF(0, top, kWidth, kHeight - top), g);
  }
  // text X Y SIZE COLOUR WORDS...: centred on X
  void Text(Args& a) {
    const double x = a.X(), y = a.Y(), size = a.Size();
    const QColor c = a.Colour();
    const QString text = QString::fromStdString(a.Rest());
    QFont font("IPAGothic");
    font.setPixelSize(std::max(1, int(size)));
    font.setBold(true);
    painter_.setFont(font);
    const QRectF box(x - kWidth, y - size, 2 * kWidth, size * 1.4);
    painter_.setPen(QColor(0, 0, 0, 150));
    painter_.drawText(box.translated(2, 2), Qt::AlignCenter, text);
    painter_.setPen(c);
    painter_.drawText(box, Qt::AlignCenter, text);
  }
  // logs X Y SIZE: a heap of fallen trunks
  void Logs(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    painter_.setPen(QPen(QColor(90, 66, 44), s * 0.08, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 12; ++i) {
      const double cx = x + Draw(-0.5, 0.5) * s, cy = y - Draw(0, 0.35) * s, angle = Draw(-0.6, 0.6);
      painter_.drawLine(QPointF(cx - s * 0.3 * std::cos(angle), cy - s * 0.3 * std::sin(angle)),
                        QPointF(cx + s * 0.3 * std::cos(angle), cy + s * 0.3 * std::sin(angle)));
    }
  }
  // fountain X Y SIZE WATER: a stone basin, running when WATER is not grey
  void Fountain(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor water = a.Colour();
    QPainterPath basin;
    basin.addRoundedRect(QRectF(x - s * 0.6, y - s * 0.25, s * 1.2, s * 0.25), s * 0.05, s * 0.05);
    Fill(basin, QColor(180, 175, 165));
    painter_.fillRect(QRectF(x - s * 0.05, y - s * 0.6, s * 0.1, s * 0.35), QColor(170, 165, 155));
    Blob(x, y - s * 0.65, s * 0.12, water);
    painter_.fillRect(QRectF(x - s * 0.55, y - s * 0.27, s * 1.1, s * 0.05), water);
  }
  // table X Y SIZE: a tavern table with two mugs
  void Table(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    painter_.fillRect(QRectF(x - s * 0.5, y - s * 0.4, s, s * 0.08), QColor(120, 76, 40));
    painter_.fillRect(QRectF(x - s * 0.42, y - s * 0.32, s * 0.07, s * 0.32), QColor(90, 56, 30));
    painter_.fillRect(QRectF(x + s * 0.35, y - s * 0.32, s * 0.07, s * 0.32), QColor(90, 56, 30));
    for (int side : {-1, 1}) {
      painter_.fillRect(QRectF(x + side * s * 0.2 - s * 0.05, y - s * 0.55, s * 0.1, s * 0.15), QColor(220, 180, 90));
    }
  }
  // window X Y SIZE SKY: a four-paned window looking out
  void Window(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    const QColor sky = a.Colour();
    painter_.fillRect(QRectF(x - s / 2, y - s / 2, s, s), QColor(80, 50, 30));
    painter_.fillRect(QRectF(x - s * 0.44, y - s * 0.44, s * 0.88, s * 0.88), sky);
    painter_.fillRect(QRectF(x - s * 0.03, y - s / 2, s * 0.06, s), QColor(80, 50, 30));
    painter_.fillRect(QRectF(x - s / 2, y - s * 0.03, s, s * 0.06), QColor(80, 50, 30));
  }
  // crate X Y SIZE: a courier's wooden box
  void Crate(Args& a) {
    const double x = a.X(), y = a.Y(), s = a.Size();
    QPainterPath box;
    box.addRect(QRectF(x - s / 2, y - s * 0.7, s, s * 0.7));
    Fill(box, QColor(190, 140, 80));
    painter_.setPen(QPen(QColor(120, 80, 40), 2));
    painter_.drawLine(QPointF(x - s / 2, y - s * 0.35), QPointF(x + s / 2, y - s * 0.35));
  }

  QPainter painter_;
  std::mt19937 random_;
};

// ---- Reading the scene file ----

using Scenes = std::map<std::string, std::vector<Step>>;

Scenes ReadScenes(std::istream& in) {
  Scenes scenes;
  std::vector<Step>* current = nullptr;
  std::string text;
  for (int line = 1; std::getline(in, text); ++line) {
    if (!text.empty() && text.back() == '\r') text.pop_back();
    std::istringstream words(text);
    Step step{"", {}, line};
    if (!(words >> step.verb) || step.verb[0] == '#') continue;
    if (step.verb.front() == '[' && step.verb.back() == ']') {
      const std::string name = step.verb.substr(1, step.verb.size() - 2);
      if (scenes.count(name)) throw SceneError(line, "picture \"" + name + "\" is described twice");
      current = &scenes[name];
      continue;
    }
    if (!current) throw SceneError(line, "a painting step before any [picture]");
    for (std::string word; words >> word;) step.args.push_back(word);
    current->push_back(step);
  }
  return scenes;
}

// The same picture every build: the random touches follow from its name.
unsigned SeedOf(const std::string& name) {
  unsigned seed = 2166136261u;
  for (unsigned char c : name) seed = (seed ^ c) * 16777619u;
  return seed;
}

QImage Paint(const std::string& name, const std::vector<Step>& steps) {
  QImage image(kWidth, kHeight, QImage::Format_RGB32);
  image.fill(Qt::black);
  Canvas canvas(image, SeedOf(name));
  for (const Step& step : steps) canvas.Run(step);
  canvas.Finish();
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::cerr << "usage: kiravel-picture SCENES NAME TARGET\n";
    return 2;
  }
  // Painting text needs the font database, which needs an application; no
  // screen is needed.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << argv[1] << ": cannot read\n";
    return 1;
  }
  try {
    const Scenes scenes = ReadScenes(in);
    auto scene = scenes.find(argv[2]);
    if (scene == scenes.end()) {
      std::cerr << argv[1] << ": no picture [" << argv[2] << "]\n";
      return 1;
    }
    if (!Paint(scene->first, scene->second).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
      std::cerr << argv[3] << ": cannot write\n";
      return 1;
    }
  } catch (const SceneError& error) {
    std::cerr << argv[1] << ":" << error.Line() << ": " << error.what() << "\n";
    return 1;
  }
  return 0;
}
