// Feedback buffers read back as records, and the comparisons the tests that
// draw one scene along two roads make between them.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/gl_defs.h"

namespace feedback_records {

struct Record {
  GLfloat token;
  std::vector<std::vector<GLfloat>> vertices;
};

// The records of the first `written` values, each vertex `vertexSize`
// values long; a pass-through record keeps no value.
std::vector<Record> Parse(const std::vector<GLfloat> &buffer, GLint written, size_t vertexSize);

// Equal to a relative 1e-4, value by value.
bool SameVertex(const std::vector<GLfloat> &a, const std::vector<GLfloat> &b);
std::string Text(const Record &r);
// The same records in the same order; a polygon's vertices up to a rotation,
// since two roads may start the same polygon at different vertices.
testing::AssertionResult SameRecords(const std::vector<Record> &want,
                                     const std::vector<Record> &got);
// A record as text at the precision of SameVertex, a line's reset token
// read as a line token, for comparing records in any order.
std::string Canonical(const Record &r);
// The distinct vertices of the records, as canonical text, sorted.
std::vector<std::string> VertexSet(const std::vector<Record> &records);

}  // namespace feedback_records
