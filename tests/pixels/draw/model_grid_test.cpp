// Draws of every accepted format and type, under the store modes, the
// transfer states, zooms and raster positions, in RGBA and colour-index
// contexts on bottom-up and top-down drawables, against the model.
#include <stdint.h>

#include <sstream>

#include "core/gl_api.h"
#include "pixels/px_enums.h"
#include "tests/pixels/draw/draw_fixture.h"

namespace draw_test {
namespace {

struct FormatType {
  unsigned format, type;
};

std::vector<FormatType> Cases(bool rgba) {
  const unsigned types[] = {GL_UNSIGNED_BYTE, GL_BYTE, GL_UNSIGNED_SHORT, GL_SHORT,
                            GL_UNSIGNED_INT,  GL_INT,  GL_FLOAT};
  std::vector<unsigned> formats = {GL_COLOR_INDEX, GL_DEPTH_COMPONENT};
  if (rgba)
    for (unsigned f : {GL_RGBA, GL_RGB, GL_RED, GL_GREEN, GL_BLUE, GL_ALPHA, GL_LUMINANCE,
                       GL_LUMINANCE_ALPHA, GL_BGR_EXT, GL_BGRA_EXT, GL_ABGR_EXT})
      formats.push_back(f);
  std::vector<FormatType> out;
  for (unsigned f : formats)
    for (unsigned t : types) out.push_back({f, t});
  out.push_back({GL_COLOR_INDEX, GL_BITMAP});
  if (rgba) {
    out.push_back({GL_RGB, GL_UNSIGNED_BYTE_3_3_2_EXT});
    for (unsigned t : {GL_UNSIGNED_SHORT_4_4_4_4_EXT, GL_UNSIGNED_SHORT_5_5_5_1_EXT,
                       GL_UNSIGNED_INT_8_8_8_8_EXT, GL_UNSIGNED_INT_10_10_10_2_EXT})
      out.push_back({GL_RGBA, t}), out.push_back({GL_BGRA_EXT, t});
  }
  return out;
}

std::vector<ModelStore> Stores() {
  std::vector<ModelStore> s(7);
  s[1].alignment = 1;
  s[2].alignment = 2, s[2].rowLength = 9;
  s[3].alignment = 8, s[3].skipPixels = 2, s[3].skipRows = 1;
  s[4].swapBytes = true;
  s[5].lsbFirst = true, s[5].skipPixels = 3, s[5].alignment = 1;
  s[6].swapBytes = true, s[6].rowLength = 11, s[6].skipPixels = 1, s[6].alignment = 2;
  return s;
}

std::vector<ModelTransfer> Transfers() {
  std::vector<ModelTransfer> t(6);
  // Scales and biases.
  t[1].scale[0] = 0.5f, t[1].scale[1] = 2.0f, t[1].scale[3] = 0.75f;
  t[1].bias[0] = 0.25f, t[1].bias[2] = -0.125f, t[1].bias[3] = 0.0625f;
  t[1].depthScale = 0.5f, t[1].depthBias = 0.25f;
  // Colour maps of 256 entries (and the index maps of 16).
  t[2].mapColor = true;
  for (int k = 0; k < 4; k++) {
    t[2].maps[k].resize(256);
    for (int i = 0; i < 256; i++) t[2].maps[k][size_t(i)] = float((i * (k + 3)) % 256) / 255.0f;
  }
  for (int k = 4; k < 8; k++) {
    t[2].maps[k].resize(16);
    for (int i = 0; i < 16; i++) t[2].maps[k][size_t(i)] = float((i * (k + 1)) % 16) / 15.0f;
  }
  t[2].itoi.resize(16);
  for (int i = 0; i < 16; i++) t[2].itoi[size_t(i)] = (i * 7 + 3) % 16;
  // Index shift and offset, without and with maps.
  t[3].indexShift = 1, t[3].indexOffset = 5;
  t[4] = t[2];
  t[4].indexShift = 2, t[4].indexOffset = -3;
  // Depth scale and bias alone.
  t[5].depthScale = 2.0f, t[5].depthBias = -0.5f;
  return t;
}

// The index maps every context starts from: one entry of 0.
void DefaultIndexMaps(ModelTransfer &t) {
  for (int k = 4; k < 8; k++)
    if (t.maps[k].empty()) t.maps[k] = {0.0f};
}

// Client data for the image: random bytes, except floats, which are
// multiples of 1/64 from -0.25 to 1.25 (integers for indices).
std::vector<uint8_t> Image(const ModelStore &s, const FormatType &ft, int w, int h,
                           uint32_t seed) {
  const size_t bytes = ModelImageBytes(s, ft.format, ft.type, w, h);
  std::vector<uint8_t> image(bytes);
  uint32_t r = seed * 2654435761u + 1;
  auto next = [&r] {
    r = r * 1664525u + 1013904223u;
    return r >> 8;
  };
  if (ft.type == GL_FLOAT) {
    const bool index = ft.format == GL_COLOR_INDEX;
    for (size_t i = 0; i + 4 <= bytes; i += 4) {
      float f = index ? float(next() % 300) : float(int(next() % 97) - 16) / 64.0f;
      uint8_t b[4];
      memcpy(b, &f, 4);
      for (int k = 0; k < 4; k++) image[i + size_t(k)] = b[s.swapBytes ? 3 - k : k];
    }
  } else {
    for (uint8_t &b : image) b = uint8_t(next());
    // Indices travel as single-precision floats: 32-bit ones stay below
    // 2^24, where the float holds them exactly.
    const bool index = ft.format == GL_COLOR_INDEX || ft.format == GL_STENCIL_INDEX;
    if (index && (ft.type == GL_UNSIGNED_INT || ft.type == GL_INT))
      for (size_t i = 0; i + 4 <= bytes; i += 4) image[i + (s.swapBytes ? 0 : 3)] = 0;
  }
  return image;
}

struct Zoom {
  float x, y;
};
constexpr Zoom kZooms[] = {{1, 1},   {-1, -1},  {0.5f, 2},  {-0.5f, 0.5f}, {2, -1},
                           {2.5f, 1}, {-3, 2.5f}, {0.3f, -3}, {1, 0.3f},     {2.5f, -0.5f}};
struct Position {
  double x, y;
  bool scissor;
};
constexpr Position kPositions[] = {
    {10, 20, false}, {10.25, 20.75, false}, {-2.5, 40.25, false}, {60.5, -3, false},
    {12.75, 9.5, true}};

void RunGrid(DrawTest &t, bool rgba, bool inverted) {
  const std::vector<ModelStore> stores = Stores();
  const std::vector<ModelTransfer> transfers = Transfers();
  int n = 0;
  for (const FormatType &ft : Cases(rgba))
    for (const Zoom &z : kZooms)
      for (const Position &p : kPositions) {
        n++;
        const ModelStore &s = stores[size_t(n) % stores.size()];
        ModelTransfer tr = transfers[size_t(n / 3) % transfers.size()];
        // Colour maps take ubyte-exact inputs only: other types can land a
        // map index half-way between entries in single precision.
        if (tr.mapColor && ft.type != GL_UNSIGNED_BYTE && ft.format != GL_COLOR_INDEX)
          tr = transfers[0];
        DefaultIndexMaps(tr);
        const int w = 5 + n % 4, h = 3 + n % 3;
        t.Apply(s, tr);
        glPixelZoom(z.x, z.y);
        if (p.scissor) {
          glScissor(14, 11, 9, 7);
          glEnable(GL_SCISSOR_TEST);
        } else {
          glDisable(GL_SCISSOR_TEST);
        }
        t.SetRaster(p.x, p.y, 0.375);
        const std::vector<uint8_t> image = Image(s, ft, w, h, uint32_t(n));
        const std::vector<Recorded> got = t.Draw(w, h, ft.format, ft.type, image.data());
        const ModelImage want =
            DrawModel(t.ModelOf(w, h, ft.format, ft.type, image.data()), s, tr, t.Target());
        const std::string diff = t.Compare(got, want);
        if (!diff.empty()) {
          ADD_FAILURE() << (rgba ? "RGBA" : "CI") << (inverted ? " top-down" : "") << " format "
                        << std::hex << ft.format << " type " << ft.type << std::dec << " zoom "
                        << z.x << "," << z.y << " at " << p.x << "," << p.y << " store " << n % 7
                        << " transfer " << (n / 3) % 6 << " size " << w << "x" << h << diff;
          return;
        }
      }
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

class ModelGrid : public DrawTest, public testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(ModelGrid, EveryFormatTypeModeAndZoomDrawsTheModelsFragments) {
  const auto [rgbaMode, inverted] = GetParam();
  Open(rgbaMode, inverted);
  RunGrid(*this, rgbaMode, inverted);
}

INSTANTIATE_TEST_SUITE_P(Contexts, ModelGrid,
                         testing::Combine(testing::Bool(), testing::Bool()));

}  // namespace
}  // namespace draw_test
