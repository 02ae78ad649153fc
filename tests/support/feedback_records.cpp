#include "tests/support/feedback_records.h"

#include <math.h>

#include <algorithm>
#include <sstream>

namespace feedback_records {

std::vector<Record> Parse(const std::vector<GLfloat> &buffer, GLint written, size_t vertexSize) {
  std::vector<Record> out;
  size_t i = 0;
  while (i < size_t(written)) {
    Record r{buffer[i++], {}};
    size_t n = 0;
    if (r.token == GL_POINT_TOKEN) n = 1;
    else if (r.token == GL_LINE_TOKEN || r.token == GL_LINE_RESET_TOKEN) n = 2;
    else if (r.token == GL_POLYGON_TOKEN) n = size_t(buffer[i++]);
    else if (r.token == GL_PASS_THROUGH_TOKEN) i++;
    for (size_t k = 0; k < n; ++k, i += vertexSize)
      r.vertices.emplace_back(buffer.begin() + long(i), buffer.begin() + long(i + vertexSize));
    out.push_back(r);
  }
  return out;
}

bool SameVertex(const std::vector<GLfloat> &a, const std::vector<GLfloat> &b) {
  for (size_t k = 0; k < a.size(); ++k)
    if (fabs(a[k] - b[k]) > 1e-4 * (1 + fabs(a[k]))) return false;
  return true;
}

std::string Text(const Record &r) {
  std::ostringstream o;
  o << "token " << r.token;
  for (const auto &v : r.vertices) {
    o << " (";
    for (GLfloat f : v) o << f << " ";
    o << ")";
  }
  return o.str();
}

testing::AssertionResult SameRecords(const std::vector<Record> &want,
                                     const std::vector<Record> &got) {
  if (want.size() != got.size())
    return testing::AssertionFailure() << got.size() << " records, want " << want.size();
  for (size_t r = 0; r < want.size(); ++r) {
    const Record &w = want[r], &g = got[r];
    bool same = w.token == g.token && w.vertices.size() == g.vertices.size();
    const size_t n = w.vertices.size();
    const size_t rotations = same && w.token == GL_POLYGON_TOKEN ? n : 1;
    bool found = false;
    for (size_t rot = 0; same && !found && rot < rotations; ++rot) {
      found = true;
      for (size_t k = 0; k < n && found; ++k)
        found = SameVertex(w.vertices[k], g.vertices[(k + rot) % n]);
    }
    if (!same || !found)
      return testing::AssertionFailure() << "record " << r << ": " << Text(g) << "\n  want "
                                         << Text(w);
  }
  return testing::AssertionSuccess();
}

std::string Canonical(const Record &r) {
  std::ostringstream o;
  o << (r.token == GL_LINE_RESET_TOKEN ? GL_LINE_TOKEN : r.token);
  for (const auto &v : r.vertices)
    for (GLfloat f : v) o << " " << lroundf(f * 256);
  return o.str();
}

std::vector<std::string> VertexSet(const std::vector<Record> &records) {
  std::vector<std::string> out;
  for (const Record &r : records)
    for (const auto &v : r.vertices) out.push_back(Canonical({GL_POINT_TOKEN, {v}}));
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

}  // namespace feedback_records
