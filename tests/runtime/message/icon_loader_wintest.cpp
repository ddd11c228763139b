// The icon loader over the program's own icon resources: the emblem by name,
// the page-button arrows by their stored values, at the default size and at
// 16 x 16, and the values that name nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/message/icon_loader_win32.h"
#include "support/gui_harness.h"

namespace {

const std::string kForward("\xFF\x02\x07\x7F", 4);
const std::string kBack("\xFF\x02\x83\x7F", 4);

// The icon drawn at its own size over white (DrawIcon would stretch a small
// icon to the default size).
gui::Pixels Render(const dove::LoadedIcon& icon) {
  gui::Pixels px;
  const int w = icon.width(), h = icon.height();
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!dc || !bmp) {
    ADD_FAILURE() << "no bitmap to draw on";
  } else {
    HGDIOBJ old = SelectObject(dc, bmp);
    RECT all = {0, 0, w, h};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon.handle(), w, h, 0, nullptr, DI_NORMAL));
    GdiFlush();
    px.width = w;
    px.height = h;
    const DWORD* p = static_cast<const DWORD*>(bits);
    for (int i = 0; i < w * h; ++i) px.bgra.push_back(p[i] & 0xFFFFFF);
    SelectObject(dc, old);
  }
  if (bmp) DeleteObject(bmp);
  if (dc) DeleteDC(dc);
  return px;
}

// Pixels whose colour differs from the horizontally mirrored pixel by more
// than a rounding step in any channel.
int MirrorDifferences(const gui::Pixels& a, const gui::Pixels& b) {
  if (a.width != b.width || a.height != b.height) return -1;
  int n = 0;
  for (int y = 0; y < a.height; ++y) {
    for (int x = 0; x < a.width; ++x) {
      DWORD p = a.bgra[y * a.width + x], q = b.bgra[y * b.width + (b.width - 1 - x)];
      for (int shift = 0; shift < 24; shift += 8) {
        int d = static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
        if (d > 2 || d < -2) {
          ++n;
          break;
        }
      }
    }
  }
  return n;
}

}  // namespace

TEST(IconLoaderTest, BuiltInValuesNameResourceNumbers) {
  struct Row { std::string name; int id; } rows[] = {
      {kForward, 32518},
      {kBack, 32642},
      {std::string("\xFF\x02\x01\x00", 4), 0},       // number 0
      {std::string("\xFF\x02\x00\x00", 4), 0},
      {std::string("\xFF\x02\x07", 3), 0},           // cut short
      {std::string("\xFF\x02\x07\x7F\x00", 5), 0},   // too long
      {std::string("\xFF\x01\x05\x7F", 4), 0},       // a system icon, not ours
      {"ZERU.Ico", 0},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(testing::PrintToString(r.name));
    EXPECT_EQ(dove::BuiltInIconId(r.name), r.id);
  }
}

TEST(IconLoaderTest, ArrowsAtBothSizesMirrorEachOther) {
  for (int size : {0, 16, 32}) {
    SCOPED_TRACE(testing::Message() << "size " << size);
    dove::LoadedIcon forward = dove::LoadNamedIcon(kForward, size);
    dove::LoadedIcon back = dove::LoadNamedIcon(kBack, size);
    ASSERT_TRUE(forward);
    ASSERT_TRUE(back);
    const int expected = size ? size : GetSystemMetrics(SM_CXICON);
    EXPECT_EQ(forward.width(), expected);
    EXPECT_EQ(forward.height(), expected);
    EXPECT_EQ(back.width(), expected);
    gui::Pixels f = Render(forward), b = Render(back);
    EXPECT_GT(gui::CountColour(f, RGB(255, 255, 255)), 0) << "transparent corners";
    EXPECT_GT(gui::CountDifferent(f, b), expected) << "two different arrows";
    EXPECT_EQ(MirrorDifferences(f, b), 0) << "the back arrow is the forward arrow mirrored";
  }
}

TEST(IconLoaderTest, EmblemByNameInAnyCase) {
  dove::LoadedIcon emblem = dove::LoadNamedIcon("ZERU.Ico");
  ASSERT_TRUE(emblem);
  EXPECT_EQ(emblem.width(), GetSystemMetrics(SM_CXICON));
  dove::LoadedIcon lower = dove::LoadNamedIcon("zeru.ico");
  ASSERT_TRUE(lower);
  EXPECT_EQ(gui::CountDifferent(Render(emblem), Render(lower)), 0);
  dove::LoadedIcon small = dove::LoadNamedIcon("ZERU.Ico", 16);
  ASSERT_TRUE(small);
  EXPECT_EQ(small.width(), 16);
  dove::LoadedIcon arrow = dove::LoadNamedIcon(kForward);
  EXPECT_GT(gui::CountDifferent(Render(emblem), Render(arrow)), 100) << "the emblem is no arrow";
}

TEST(IconLoaderTest, NamesOfNothingGiveNoIcon) {
  const std::string names[] = {
      "",
      std::string("\xFF\x02\x10\x00", 4),     // a built-in number we do not have
      std::string("\xFF\x02\x00\x7F", 4),     // number 0x7F00: no such resource
      std::string("ZERU.Ico\0x", 10),         // a zero byte inside a name
      "NO_SUCH_ICON",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(testing::PrintToString(name));
    EXPECT_FALSE(dove::LoadNamedIcon(name));
    EXPECT_FALSE(dove::LoadNamedIcon(name, 16));
  }
  EXPECT_FALSE(dove::LoadNamedIcon(static_cast<const char*>(nullptr)));
}
