// Draws the program's icons and writes them as .ico files for the resource
// script: the program's emblem (ZERU.ico) and the forward and back arrows of
// the page buttons (next.ico, back.ico). Each file holds a 16x16 and a 32x32
// image, 32 bits with alpha plus the AND mask for readers without alpha.
//
//   gen_icons <output folder>
//
// Shapes are described in a 32-unit design square and sampled 4x4 per pixel,
// so both sizes come from one drawing with smooth edges.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgba {
  double r, g, b, a;
};

struct Point {
  double x, y;
};

// One image in design units; a shader gives the colour of a sample point
// (alpha 0 where nothing is drawn). Thin lines are drawn thicker at 16x16,
// where a design unit is half a pixel.
using Shader = Rgba (*)(Point p, int size);

constexpr int kSamples = 4;

double SegmentDistance(Point p, Point a, Point b) {
  double dx = b.x - a.x, dy = b.y - a.y;
  double t = ((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  double ex = a.x + t * dx - p.x, ey = a.y + t * dy - p.y;
  return std::sqrt(ex * ex + ey * ey);
}

bool InsidePolygon(Point p, const std::vector<Point>& poly) {
  bool inside = false;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
    const Point& a = poly[i];
    const Point& b = poly[j];
    if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x)
      inside = !inside;
  }
  return inside;
}

double EdgeDistance(Point p, const std::vector<Point>& poly) {
  double best = 1e9;
  for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
    best = std::fmin(best, SegmentDistance(p, poly[j], poly[i]));
  return best;
}

Rgba Mix(Rgba a, Rgba b, double t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

Rgba Hex(uint32_t rgb) {
  return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, 1};
}

// --- the emblem: a blue disc with a white rim and a white tick ---------------

Rgba Emblem(Point p, int size) {
  const bool small = size < 32;
  const Point c = {16, 16};
  double d = std::hypot(p.x - c.x, p.y - c.y);
  if (d > 15.5) return {0, 0, 0, 0};
  if (d > (small ? 13.5 : 14)) return Hex(0x17366E);           // dark outer edge
  if (!small && d > 12.5) return Hex(0xFFFFFF);                // white rim
  double tick = std::fmin(SegmentDistance(p, {9.5, 16.5}, {14, 21}),
                          SegmentDistance(p, {14, 21}, {22.5, 11}));
  if (tick < (small ? 2.4 : 2.1)) return Hex(0xFFFFFF);
  double t = (p.y - 4) / 24;                                   // top light, bottom deep
  return Mix(Hex(0x4A8FE8), Hex(0x1C4FA3), t < 0 ? 0 : (t > 1 ? 1 : t));
}

// --- the page arrows: a solid arrow with a dark outline -----------------------

const std::vector<Point>& ForwardArrow() {
  static const std::vector<Point> shape = {{2, 12}, {16, 12}, {16, 4},  {30, 16},
                                           {16, 28}, {16, 20}, {2, 20}};
  return shape;
}

Rgba Arrow(Point p, int size) {
  if (!InsidePolygon(p, ForwardArrow())) return {0, 0, 0, 0};
  if (EdgeDistance(p, ForwardArrow()) < (size < 32 ? 2 : 1.7)) return Hex(0x123F7A);
  double t = (p.y - 5) / 22;
  return Mix(Hex(0x7DC0FF), Hex(0x1F6FD0), t < 0 ? 0 : (t > 1 ? 1 : t));
}

Rgba BackArrow(Point p, int size) { return Arrow({32 - p.x, p.y}, size); }

// --- rasterising and the .ico file ------------------------------------------

// Top-down BGRA pixels, alpha premultiplication undone after averaging.
std::vector<uint32_t> Render(Shader shade, int size) {
  std::vector<uint32_t> px(size * size);
  const double scale = 32.0 / size;
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSamples; ++sy) {
        for (int sx = 0; sx < kSamples; ++sx) {
          Point p = {(x + (sx + 0.5) / kSamples) * scale, (y + (sy + 0.5) / kSamples) * scale};
          Rgba c = shade(p, size);
          r += c.r * c.a, g += c.g * c.a, b += c.b * c.a, a += c.a;
        }
      }
      uint32_t A = static_cast<uint32_t>(std::lround(a * 255 / (kSamples * kSamples)));
      auto chan = [&](double v) { return a > 0 ? static_cast<uint32_t>(std::lround(v / a * 255)) : 0u; };
      px[y * size + x] = A == 0 ? 0 : (A << 24) | (chan(r) << 16) | (chan(g) << 8) | chan(b);
    }
  }
  return px;
}

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One icon image: BITMAPINFOHEADER (height doubled for the mask), bottom-up
// colour rows, then the bottom-up AND mask (set where the pixel is mostly clear).
std::string IconImage(const std::vector<uint32_t>& px, int size) {
  std::string out;
  const int maskRow = ((size + 31) / 32) * 4;
  Put32(out, 40);
  Put32(out, size);
  Put32(out, size * 2);
  Put16(out, 1);
  Put16(out, 32);
  Put32(out, 0);  // BI_RGB
  Put32(out, size * size * 4 + maskRow * size);
  Put32(out, 0), Put32(out, 0), Put32(out, 0), Put32(out, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) Put32(out, px[y * size + x]);
  for (int y = size - 1; y >= 0; --y) {
    std::string row(maskRow, '\0');
    for (int x = 0; x < size; ++x)
      if ((px[y * size + x] >> 24) < 128) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
    out += row;
  }
  return out;
}

std::string IconFile(Shader shade) {
  const int sizes[] = {16, 32};
  std::vector<std::string> images;
  for (int s : sizes) images.push_back(IconImage(Render(shade, s), s));
  std::string out;
  Put16(out, 0);
  Put16(out, 1);  // icon
  Put16(out, static_cast<unsigned>(images.size()));
  uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    out.push_back(static_cast<char>(sizes[i]));
    out.push_back(static_cast<char>(sizes[i]));
    out.push_back(0);  // no palette
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<uint32_t>(images[i].size()));
    Put32(out, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const std::string& img : images) out += img;
  return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gen_icons <output folder>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  struct {
    const char* file;
    Shader shade;
  } icons[] = {{"ZERU.ico", Emblem}, {"next.ico", Arrow}, {"back.ico", BackArrow}};
  for (const auto& icon : icons) {
    if (!WriteFile(dir + icon.file, IconFile(icon.shade))) {
      std::fprintf(stderr, "gen_icons: cannot write %s%s\n", dir.c_str(), icon.file);
      return 1;
    }
  }
  return 0;
}
