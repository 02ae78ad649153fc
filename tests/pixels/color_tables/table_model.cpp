#include "tests/pixels/color_tables/table_model.h"

#include <math.h>
#include <string.h>

#include "pixels/px_enums.h"

namespace table_test {

int ElementBytes(GLenum type) {
  switch (type) {
    case GL_BYTE:
    case GL_UNSIGNED_BYTE: return 1;
    case GL_SHORT:
    case GL_UNSIGNED_SHORT: return 2;
    default: return 4;
  }
}

int GroupComponents(GLenum format) {
  switch (format) {
    case GL_RGB:
    case GL_BGR_EXT: return 3;
    case GL_RGBA:
    case GL_BGRA_EXT:
    case GL_ABGR_EXT: return 4;
    case GL_LUMINANCE_ALPHA: return 2;
    default: return 1;
  }
}

int EntryComponents(GLenum base) {
  switch (base) {
    case GL_RGB: return 3;
    case GL_RGBA: return 4;
    case GL_LUMINANCE_ALPHA: return 2;
    default: return 1;
  }
}

namespace {

template <typename T>
T Load(const uint8_t *p) {
  T v;
  memcpy(&v, p, sizeof v);
  return v;
}

}  // namespace

double ElementValue(GLenum type, const uint8_t *p) {
  switch (type) {
    case GL_UNSIGNED_BYTE: return *p / 255.0;
    case GL_BYTE: return (2.0 * int8_t(*p) + 1) / 255.0;
    case GL_UNSIGNED_SHORT: return Load<uint16_t>(p) / 65535.0;
    case GL_SHORT: return (2.0 * Load<int16_t>(p) + 1) / 65535.0;
    case GL_UNSIGNED_INT: return Load<uint32_t>(p) / 4294967295.0;
    case GL_INT: return (2.0 * Load<int32_t>(p) + 1) / 4294967295.0;
    default: return Load<float>(p);
  }
}

double Tolerance(GLenum type) {
  switch (type) {
    case GL_UNSIGNED_BYTE: return 0.1 / 255;
    case GL_BYTE: return 1.01 / 127;
    case GL_UNSIGNED_SHORT: return 0.1 / 65535;
    case GL_SHORT: return 1.01 / 32767;
    default: return 1e-6;
  }
}

namespace {

double Clamp(double v) { return v < 0 ? 0 : v > 1 ? 1 : v; }

// Where each component of a group goes: 0 red .. 3 alpha, 4 luminance.
std::vector<int> Slots(GLenum format) {
  switch (format) {
    case GL_RED: return {0};
    case GL_GREEN: return {1};
    case GL_BLUE: return {2};
    case GL_ALPHA: return {3};
    case GL_RGB: return {0, 1, 2};
    case GL_BGR_EXT: return {2, 1, 0};
    case GL_RGBA: return {0, 1, 2, 3};
    case GL_BGRA_EXT: return {2, 1, 0, 3};
    case GL_ABGR_EXT: return {3, 2, 1, 0};
    case GL_LUMINANCE: return {4};
    case GL_LUMINANCE_ALPHA: return {4, 3};
    default: return {};
  }
}

uint8_t Byte(double v) { return uint8_t(floor(Clamp(v) * 255.0 + 0.5)); }

}  // namespace

Rgba ClientColor(GLenum format, GLenum type, const uint8_t *data, int i) {
  const int size = ElementBytes(type);
  const std::vector<int> slots = Slots(format);
  const uint8_t *group = data + size_t(i) * slots.size() * size;
  Rgba c = {0, 0, 0, 1};
  for (size_t k = 0; k < slots.size(); k++) {
    const double v = Clamp(ElementValue(type, group + k * size));
    if (slots[k] == 4)
      c[0] = c[1] = c[2] = v;
    else
      c[size_t(slots[k])] = v;
  }
  return c;
}

std::vector<uint8_t> StoredEntries(GLenum base, GLenum format, GLenum type, const void *data,
                                   int count) {
  std::vector<uint8_t> entries;
  for (int i = 0; i < count; i++) {
    const Rgba c = ClientColor(format, type, static_cast<const uint8_t *>(data), i);
    switch (base) {
      case GL_ALPHA: entries.push_back(Byte(c[3])); break;
      case GL_LUMINANCE:
      case GL_INTENSITY: entries.push_back(Byte(c[0])); break;
      case GL_LUMINANCE_ALPHA: entries.insert(entries.end(), {Byte(c[0]), Byte(c[3])}); break;
      case GL_RGB: entries.insert(entries.end(), {Byte(c[0]), Byte(c[1]), Byte(c[2])}); break;
      default:
        entries.insert(entries.end(), {Byte(c[0]), Byte(c[1]), Byte(c[2]), Byte(c[3])});
    }
  }
  return entries;
}

std::vector<double> ReadBackComponents(GLenum base, const std::vector<uint8_t> &entries, int i,
                                       GLenum format) {
  const int n = EntryComponents(base);
  const uint8_t *e = entries.data() + size_t(i) * n;
  Rgba c = {0, 0, 0, 0};
  switch (base) {
    case GL_ALPHA: c[3] = e[0] / 255.0; break;
    case GL_LUMINANCE:
    case GL_INTENSITY: c[0] = e[0] / 255.0; break;
    case GL_LUMINANCE_ALPHA: c[0] = e[0] / 255.0, c[3] = e[1] / 255.0; break;
    default:
      for (int k = 0; k < n; k++) c[size_t(k)] = e[k] / 255.0;
  }
  std::vector<double> out;
  for (int slot : Slots(format)) out.push_back(c[size_t(slot == 4 ? 0 : slot)]);
  return out;
}

std::vector<uint8_t> ClientData(GLenum format, GLenum type, int count, uint32_t seed) {
  const size_t elements = size_t(count) * size_t(GroupComponents(format));
  std::vector<uint8_t> data(elements * size_t(ElementBytes(type)));
  uint32_t x = seed * 2654435761u + 12345u;
  for (size_t k = 0; k < elements; k++) {
    x = x * 1103515245u + 12345u;
    if (type == GL_FLOAT) {
      const float v = float((x >> 8) % 1000) / 999.0f;
      memcpy(&data[k * 4], &v, 4);
    } else {
      for (int b = 0; b < ElementBytes(type); b++)
        data[k * size_t(ElementBytes(type)) + size_t(b)] = uint8_t(x >> (8 + 5 * b));
    }
  }
  return data;
}

}  // namespace table_test
