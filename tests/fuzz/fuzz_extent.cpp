#include "tests/fuzz/fuzz_extent.h"

#include <string.h>

#include <algorithm>
#include <string>

#include "platform/vlxdesktop.h"
#include "tests/fuzz/fuzz_gl.h"
#include "tests/fuzz/fuzz_values.h"

namespace {

int64_t Components(unsigned format) {
  switch (format) {
    case GL_COLOR_INDEX: case GL_STENCIL_INDEX: case GL_DEPTH_COMPONENT: case GL_RED:
    case GL_GREEN: case GL_BLUE: case GL_ALPHA: case GL_LUMINANCE:
      return 1;
    case GL_LUMINANCE_ALPHA:
      return 2;
    case GL_RGB: case GL_BGR_EXT:
      return 3;
    default:
      return 4;
  }
}

// Bytes of one element; packed types give their whole group (components 1).
int64_t ElementBytes(unsigned type, bool *packed) {
  *packed = false;
  switch (type) {
    case GL_BYTE: case GL_UNSIGNED_BYTE: return 1;
    case GL_SHORT: case GL_UNSIGNED_SHORT: return 2;
    case GL_UNSIGNED_BYTE_3_3_2_EXT: *packed = true; return 1;
    case GL_UNSIGNED_SHORT_4_4_4_4_EXT: case GL_UNSIGNED_SHORT_5_5_5_1_EXT:
      *packed = true; return 2;
    case GL_UNSIGNED_INT_8_8_8_8_EXT: case GL_UNSIGNED_INT_10_10_10_2_EXT:
      *packed = true; return 4;
    default: return 4;
  }
}

// The pixel-store modes of one direction, queried; inside glBegin/glEnd
// the query fails and the last answer stands.
FuzzPixelStore Store(bool pack) {
  static FuzzPixelStore last[2];
  const GLenum names[2][4] = {
      {GL_UNPACK_ROW_LENGTH, GL_UNPACK_SKIP_ROWS, GL_UNPACK_SKIP_PIXELS, GL_UNPACK_ALIGNMENT},
      {GL_PACK_ROW_LENGTH, GL_PACK_SKIP_ROWS, GL_PACK_SKIP_PIXELS, GL_PACK_ALIGNMENT}};
  GLint v[4] = {-1, -1, -1, -1};
  while (glGetError() != GL_NO_ERROR) {
  }
  for (int i = 0; i < 4; i++) glGetIntegerv(names[pack][i], &v[i]);
  if (glGetError() == GL_NO_ERROR && v[3] > 0) {
    last[pack] = {v[0], v[1], v[2], v[3]};
  }
  return last[pack];
}

int Index(const FuzzEntry &e, const char *param) {
  for (size_t i = 0; i < e.params.size(); i++) {
    if (e.params[i].name == param) return int(i);
  }
  return -1;
}

// The digit of vector entries ("Color3fv" reads 3 values).
int VectorCount(const char *name) {
  const size_t len = strlen(name);
  for (size_t i = 0; i < len; i++) {
    if (name[i] >= '1' && name[i] <= '4') return name[i] - '0';
  }
  return 1;
}

bool Is(const FuzzEntry &e, const char *name) { return !strcmp(e.name, name); }
bool StartsWith(const FuzzEntry &e, const char *prefix) {
  return !strncmp(e.name, prefix, strlen(prefix));
}

// Keeps a count argument (or a stride) within `limit`, leaving negative
// values (errors the driver must report) as they are.
void Bound(FuzzRng &rng, FuzzArg &a, int64_t limit) {
  if (a.i > limit) a.i = rng.Range(0, int(std::min<int64_t>(limit, 1 << 30)));
}

FuzzKeptRegion ArrayRegion(const FuzzEntry &e) {
  if (StartsWith(e, "Vertex")) return kFuzzVertexArray;
  if (StartsWith(e, "Normal")) return kFuzzNormalArray;
  if (StartsWith(e, "Color")) return kFuzzColorArray;
  if (StartsWith(e, "Index")) return kFuzzIndexArray;
  if (StartsWith(e, "TexCoord")) return kFuzzTexCoordArray;
  if (StartsWith(e, "EdgeFlag")) return kFuzzEdgeFlagArray;
  return kFuzzInterleavedArray;
}

// An array pointer kept by the context: any element index below
// kFuzzArrayElements stays inside the region for every size, type and the
// strides allowed here.
constexpr int64_t kMaxArrayStride = 256;
void PlaceArray(FuzzRng &rng, const FuzzEntry &e, FuzzArg *args, FuzzMemory &memory) {
  const int stride = Index(e, "stride");
  if (stride >= 0) Bound(rng, args[stride], kMaxArrayStride);
  const int count = Index(e, "count");
  if (count >= 0) Bound(rng, args[count], kFuzzArrayElements);
  FencedBytes &region = memory.Kept(ArrayRegion(e));
  static_assert(kFuzzArrayElements * (kMaxArrayStride + 64) < FuzzMemory::kKeptBytes);
  args[e.params.size() - 1].p = region.Tail(region.capacity()) + 8 * rng.Below(8);
}

// Element reads of the draw calls stay below kFuzzArrayElements.
void BoundDraw(FuzzRng &rng, const FuzzEntry &e, FuzzArg *args) {
  const int first = Index(e, "first");
  const int count = Index(e, "count");
  const int i = Index(e, "i");
  if (first >= 0) args[first].i = rng.Range(0, kFuzzArrayElements - 1);
  if (count >= 0) {
    const int64_t room = kFuzzArrayElements - (first >= 0 ? args[first].i : 0);
    if (args[count].i > room) args[count].i = rng.Percent(50) ? room : rng.Range(0, int(room));
  }
  if (i >= 0) args[i].i = rng.Range(0, kFuzzArrayElements - 1);
}

}  // namespace

int64_t FuzzImageBytes(int64_t width, int64_t height, unsigned format, unsigned type,
                       const FuzzPixelStore &store) {
  if (width <= 0 || height <= 0) return 0;
  const int64_t rowLength = store.rowLength > 0 ? store.rowLength : width;
  const int64_t align = store.alignment > 0 ? store.alignment : 1;
  const int64_t skipRows = std::max<int64_t>(store.skipRows, 0);
  const int64_t skipPixels = std::max<int64_t>(store.skipPixels, 0);
  if (type == GL_BITMAP && (format == GL_COLOR_INDEX || format == GL_STENCIL_INDEX)) {
    const int64_t rowBytes = ((rowLength + 7) / 8 + align - 1) / align * align;
    return (skipRows + height - 1) * rowBytes + (skipPixels + width + 7) / 8;
  }
  bool packed;
  const int64_t element = ElementBytes(type, &packed);
  const int64_t group = packed ? element : element * Components(format);
  int64_t rowBytes = rowLength * group;
  if (element < align) rowBytes = (rowBytes + align - 1) / align * align;
  return (skipRows + height - 1) * rowBytes + (skipPixels + width) * group;
}

bool FuzzPlacePointers(FuzzRng &rng, const FuzzEntry &e, FuzzArg *args, FuzzMemory &memory) {
  if (Is(e, "DrawArrays") || Is(e, "DrawArraysEXT") || Is(e, "ArrayElement") ||
      Is(e, "ArrayElementEXT") || Is(e, "DrawElements") || Is(e, "LockArraysVLX")) {
    BoundDraw(rng, e, args);
  }
  if (strstr(e.name, "Pointer") && !strstr(e.name, "GetPointer")) {
    PlaceArray(rng, e, args, memory);
    return true;
  }
  if (Is(e, "InterleavedArrays")) {
    PlaceArray(rng, e, args, memory);
    return true;
  }
  if (Is(e, "FeedbackBuffer") || Is(e, "SelectBuffer")) {
    FencedBytes &region =
        memory.Kept(Is(e, "FeedbackBuffer") ? kFuzzFeedbackBuffer : kFuzzSelectBuffer);
    const int64_t most = int64_t(region.capacity() / 4);
    Bound(rng, args[0], most);
    args[e.params.size() - 1].p = region.Tail(size_t(std::max<int64_t>(args[0].i, 0)) * 4);
    return true;
  }

  for (size_t k = 0; k < e.params.size(); k++) {
    const FuzzParam &p = e.params[k];
    if (p.type != FuzzType::Pointer) continue;
    int64_t bytes = 16 * p.elementBytes;  // parameters and queries: a matrix at most
    auto arg = [&](const char *name) -> FuzzArg & { return args[Index(e, name)]; };
    if (strstr(e.name, "Rect") && e.name[strlen(e.name) - 1] == 'v') {
      bytes = 2 * p.elementBytes;
    } else if (e.name[strlen(e.name) - 1] == 'v' &&
               (StartsWith(e, "Color") || StartsWith(e, "Vertex") || StartsWith(e, "Normal") ||
                StartsWith(e, "TexCoord") || StartsWith(e, "RasterPos") ||
                StartsWith(e, "EvalCoord"))) {
      bytes = VectorCount(e.name) * p.elementBytes;
    } else if ((StartsWith(e, "Index") || StartsWith(e, "EdgeFlag")) &&
               e.name[strlen(e.name) - 1] == 'v') {
      bytes = p.elementBytes;
    } else if (Is(e, "CallLists")) {
      // Lists calling lists many times over multiply: kept short.
      Bound(rng, arg("n"), 64);
      const GLenum type = GLenum(arg("type").i);
      const int64_t each = type == GL_BYTE || type == GL_UNSIGNED_BYTE ? 1
                           : type == GL_SHORT || type == GL_UNSIGNED_SHORT || type == GL_2_BYTES
                               ? 2
                           : type == GL_3_BYTES ? 3
                                                : 4;
      bytes = std::max<int64_t>(arg("n").i, 0) * each;
    } else if (Is(e, "DrawElements")) {
      const GLenum type = GLenum(arg("type").i);
      const int64_t n = std::max<int64_t>(arg("count").i, 0);
      const int64_t each = type == GL_UNSIGNED_BYTE ? 1 : type == GL_UNSIGNED_SHORT ? 2 : 4;
      bytes = n * each;
      uint8_t *q = static_cast<uint8_t *>(memory.Scratch(rng, size_t(bytes), false));
      for (int64_t i = 0; i < n; i++) {
        const uint32_t v = rng.Below(type == GL_UNSIGNED_BYTE ? 256 : kFuzzArrayElements) %
                           kFuzzArrayElements;
        memcpy(q + i * each, &v, size_t(each));
      }
      args[k].p = q;
      continue;
    } else if (Is(e, "GenTextures") || Is(e, "DeleteTextures") || Is(e, "AreTexturesResident") ||
               Is(e, "PrioritizeTextures")) {
      Bound(rng, arg("n"), 4096);
      bytes = std::max<int64_t>(arg("n").i, 0) * p.elementBytes;
      if (!p.output && p.glType == "GLuint") {
        GLuint *names = static_cast<GLuint *>(memory.Scratch(rng, size_t(bytes), false));
        for (int64_t i = 0; i < bytes / 4; i++) names[i] = rng.Below(kFuzzNames);
        args[k].p = names;
        continue;
      }
    } else if (Is(e, "PixelMapfv") || Is(e, "PixelMapuiv") || Is(e, "PixelMapusv")) {
      Bound(rng, arg("mapsize"), 65536);
      bytes = std::max<int64_t>(arg("mapsize").i, 0) * p.elementBytes;
    } else if (StartsWith(e, "GetPixelMap")) {
      GLint most = 0;
      glGetIntegerv(GL_MAX_PIXEL_MAP_TABLE, &most);
      bytes = std::max(most, 256) * p.elementBytes;
    } else if (StartsWith(e, "Map1")) {
      const int64_t order = arg("order").i, stride = arg("stride").i;
      if (order > 64 || stride > 64) return false;
      bytes = order < 1 ? 0 : ((order - 1) * std::max<int64_t>(stride, 0) + 4) * p.elementBytes;
    } else if (StartsWith(e, "Map2")) {
      const int64_t uo = arg("uorder").i, vo = arg("vorder").i;
      const int64_t us = arg("ustride").i, vs = arg("vstride").i;
      if (uo > 64 || vo > 64 || us > 4096 || vs > 4096) return false;
      bytes = uo < 1 || vo < 1 ? 0
                               : ((uo - 1) * std::max<int64_t>(us, 0) +
                                  (vo - 1) * std::max<int64_t>(vs, 0) + 4) *
                                     p.elementBytes;
    } else if (StartsWith(e, "GetMap")) {
      bytes = 64 * 64 * 4 * p.elementBytes;
    } else if (Is(e, "PolygonStipple") || Is(e, "GetPolygonStipple")) {
      bytes = FuzzImageBytes(32, 32, GL_COLOR_INDEX, GL_BITMAP, Store(p.output));
    } else if (Is(e, "Bitmap")) {
      FuzzPixelStore store = Store(false);
      bytes = FuzzImageBytes(arg("width").i, arg("height").i, GL_COLOR_INDEX, GL_BITMAP, store);
      if (bytes > int64_t(FuzzMemory::kScratchBytes)) {
        arg("width").i = rng.Range(0, 64), arg("height").i = rng.Range(0, 64);
        bytes = FuzzImageBytes(arg("width").i, arg("height").i, GL_COLOR_INDEX, GL_BITMAP, store);
      }
    } else if (Is(e, "DrawPixels") || Is(e, "ReadPixels") || StartsWith(e, "TexImage") ||
               StartsWith(e, "TexSubImage") || Is(e, "ColorTableEXT") ||
               Is(e, "ColorSubTableEXT")) {
      const FuzzPixelStore store = Store(p.output);
      const bool table = strstr(e.name, "Table") != nullptr;
      FuzzArg &w = table ? (Is(e, "ColorTableEXT") ? arg("width") : arg("count")) : arg("width");
      const int hi = Index(e, "height");
      FuzzArg one;
      one.i = 1;
      FuzzArg &h = hi >= 0 ? args[hi] : one;
      const unsigned format = unsigned(arg("format").i), type = unsigned(arg("type").i);
      bytes = FuzzImageBytes(w.i, h.i, format, type, store);
      if (bytes > int64_t(FuzzMemory::kScratchBytes)) {
        w.i = rng.Range(0, 64), h.i = hi >= 0 ? rng.Range(0, 64) : 1;
        bytes = FuzzImageBytes(w.i, h.i, format, type, store);
        if (bytes > int64_t(FuzzMemory::kScratchBytes)) return false;
      }
      if (!p.output && rng.Percent(3)) {
        args[k].p = nullptr;  // texture images may leave their texels undefined
        continue;
      }
    } else if (Is(e, "GetTexImage")) {
      const GLenum target = GLenum(arg("target").i);
      const GLint level = GLint(arg("level").i);
      GLint width = 0, height = 0;
      while (glGetError() != GL_NO_ERROR) {
      }
      glGetTexLevelParameteriv(target, level, GL_TEXTURE_WIDTH, &width);
      glGetTexLevelParameteriv(target, level, GL_TEXTURE_HEIGHT, &height);
      if (glGetError() != GL_NO_ERROR) width = height = 0;
      bytes = FuzzImageBytes(width, height, unsigned(arg("format").i), unsigned(arg("type").i),
                             Store(true));
    } else if (Is(e, "GetColorTableEXT")) {
      GLint width = 0;
      while (glGetError() != GL_NO_ERROR) {
      }
      auto get = reinterpret_cast<void (*)(GLenum, GLenum, GLint *)>(
          wglGetProcAddress("glGetColorTableParameterivEXT"));
      if (get != nullptr) get(GLenum(arg("target").i), GL_COLOR_TABLE_WIDTH_EXT, &width);
      if (glGetError() != GL_NO_ERROR) width = 0;
      bytes = FuzzImageBytes(width, 1, unsigned(arg("format").i), unsigned(arg("type").i),
                             Store(true));
    } else if (Is(e, "GetPointerv") || Is(e, "GetPointervEXT")) {
      bytes = 4;
    } else if (Is(e, "ClipPlane") || Is(e, "GetClipPlane")) {
      bytes = 4 * 8;
    }
    args[k].p = memory.Scratch(rng, size_t(std::max<int64_t>(bytes, 0)), !p.output);
  }
  return true;
}
