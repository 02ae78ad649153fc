// What a colour table should hold and give back, written from OpenGL's
// rules for client components: unsigned values c / (2^n - 1), signed ones
// (2c + 1) / (2^n - 1) clamped at 0, floats clamped to [0, 1]; formats
// spread into RGBA (missing colours 0, missing alpha 1); the table keeps
// its base format's components as bytes. Read back, a table's missing
// components are 0 (alpha too).
#pragma once

#include <stdint.h>

#include <array>
#include <vector>

#include "core/gl_defs.h"

namespace table_test {

using Rgba = std::array<double, 4>;

// Bytes of one element, components of one group (client formats only).
int ElementBytes(GLenum type);
int GroupComponents(GLenum format);
// Components of one entry of a table of this base format.
int EntryComponents(GLenum base);

// The i-th group of dense client data as RGBA in [0, 1].
Rgba ClientColor(GLenum format, GLenum type, const uint8_t *data, int i);
// What a table of `base` stores for `count` groups of dense client data.
std::vector<uint8_t> StoredEntries(GLenum base, GLenum format, GLenum type, const void *data,
                                   int count);
// The components a read-back of entry i in `format` gives, in [0, 1].
std::vector<double> ReadBackComponents(GLenum base, const std::vector<uint8_t> &entries, int i,
                                       GLenum format);
// The value the client element at p stands for, in [0, 1] for unsigned
// types (signed ones may be negative), unclamped.
double ElementValue(GLenum type, const uint8_t *p);
// How far a read-back element may be from the exact value.
double Tolerance(GLenum type);

// Deterministic bytes for client data; floats get values in [0, 1].
std::vector<uint8_t> ClientData(GLenum format, GLenum type, int count, uint32_t seed);

}  // namespace table_test
