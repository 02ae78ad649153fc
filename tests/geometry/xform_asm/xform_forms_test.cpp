// Every transform form against double precision, on matrices of its own
// type and of every higher one: each form within the rounding its
// arithmetic earns, the copied components exact, the source readable up to
// its last component only, the destination written in its four floats only,
// and the source allowed to be the destination.
#include <math.h>
#include <sys/mman.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "tests/geometry/xform_asm/xform_reference.h"

namespace {

struct FormCase {
  const XformForm *form;
  uint32_t matrixType;
};

std::vector<FormCase> AllFormCases() {
  std::vector<FormCase> cases;
  for (int f = 0; f < kXformFormCount; ++f)
    for (uint32_t type = kXformForms[f].type; type <= __GL_MT_IDENTITY; ++type)
      cases.push_back({&kXformForms[f], type});
  return cases;
}

void PrintTo(const FormCase &c, std::ostream *os) {
  *os << c.form->name << " on a matrix of type " << c.matrixType;
}

std::string CaseName(const testing::TestParamInfo<FormCase> &info) {
  return std::string(info.param.form->name + 4) + "_OnType" + std::to_string(info.param.matrixType);
}

// Copies the source to the very end of a readable page: a read past its
// last component faults.
const float *GuardedSource(const float *in, int size) {
  static uint8_t *pages = [] {
    long page = sysconf(_SC_PAGESIZE);
    void *p = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return static_cast<uint8_t *>(nullptr);
    mprotect(static_cast<uint8_t *>(p) + page, page, PROT_NONE);
    return static_cast<uint8_t *>(p) + page;
  }();
  if (!pages) return in;
  float *src = reinterpret_cast<float *>(pages) - size;
  memcpy(src, in, size * sizeof(float));
  return src;
}

testing::AssertionResult Near(float got, double expected, double tolerance) {
  if (fabs(got - expected) <= tolerance) return testing::AssertionSuccess();
  return testing::AssertionFailure() << got << " (" << std::hexfloat << got << std::defaultfloat
                                     << ") is not within " << tolerance << " of " << expected;
}

const float kGuard = -12345.0f;
const float kWs[] = {1, 2, 0, -0.5f, 0.375f, -0.0f};

class XformForms : public testing::TestWithParam<FormCase> {};

TEST_P(XformForms, MatchTheReferenceWithinTheirRounding) {
  const XformForm &form = *GetParam().form;
  const uint32_t type = GetParam().matrixType;
  SKIP_UNLESS_PROCESSOR_RUNS(form.isa);
  std::mt19937 rng(type * 100 + (&form - kXformForms));
  std::uniform_real_distribution<float> d(-8, 8);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    TestMatrix t = MakeMatrix(type, form.type, rng);
    // z translations on either side of the depth range's edge.
    if (type < __GL_MT_IDENTITY && round < 2) SetElement(&t, 14, round == 0 ? 0.5f : 1.5f);
    const float in[4] = {d(rng), d(rng), d(rng), kWs[round % 6]};
    float out[6];
    for (float &f : out) f = kGuard;
    CallChecked(reinterpret_cast<const void *>(form.proc),
                {Word(out + 1), Word(GuardedSource(in, form.size)), Word(&t.m)});
    const float *got = out + 1;
    EXPECT_EQ(out[0], kGuard);
    EXPECT_EQ(out[5], kGuard);

    XformExpected e = ReferenceXform(t, in, form.size);
    for (int j = 0; j < 4; ++j)
      EXPECT_TRUE(
          Near(got[j], e.value[j], XformTolerance(form.isa, e.value[j], e.magnitude[j], got[j])))
          << "component " << j;
    // What the forms copy rather than compute.
    if (form.type >= __GL_MT_W0001) {
      EXPECT_EQ(Bits(got[3]), Bits(form.size == 4 ? in[3] : 1.0f)) << "w";
    }
    if (form.type >= __GL_MT_IS2D && form.size == 2) {
      EXPECT_EQ(Bits(got[2]), Bits(t.m.matrix[14])) << "z is the z translation";
    }

    // In place; what the source does not give is garbage the form must not
    // read.
    float io[4] = {in[0], in[1], form.size > 2 ? in[2] : nanf(""),
                   form.size > 3 ? in[3] : nanf("")};
    CallChecked(reinterpret_cast<const void *>(form.proc), {Word(io), Word(io), Word(&t.m)});
    EXPECT_EQ(memcmp(io, got, sizeof io), 0) << "in place";
  }
}

INSTANTIATE_TEST_SUITE_P(EveryFormAndType, XformForms, testing::ValuesIn(AllFormCases()), CaseName);

// Sums held in extended precision keep what single precision would lose:
// (1 + 2^-12)² - 1 is 2^-11 + 2^-24 exactly, while a product rounded to
// single precision first gives 2^-11.
struct CancelCase {
  const char *what;
  int component;
  int minSize;
  void (*set)(TestMatrix *t, float *in, uint32_t formType);
};

const float kNearOne = 1.0f + 0x1p-12f;
const float kExact = 0x1p-11f + 0x1p-24f;

const CancelCase kCancelCases[] = {
    {"x·m[0] against y·m[4] (or the translation without rotation)", 0, 2,
     [](TestMatrix *t, float *in, uint32_t formType) {
       in[0] = kNearOne, SetElement(t, 0, kNearOne);
       if (formType >= __GL_MT_IS2DNR) {
         SetElement(t, 12, -1);
       } else {
         in[1] = 1, SetElement(t, 4, -1);
       }
     }},
    {"z·m[10] against the z translation", 2, 3,
     [](TestMatrix *t, float *in, uint32_t) {
       in[2] = kNearOne, SetElement(t, 10, kNearOne), SetElement(t, 14, -1);
     }},
    {"z·m[10] against w·m[14] with w = 2", 2, 4,
     [](TestMatrix *t, float *in, uint32_t) {
       in[2] = kNearOne, in[3] = 2, SetElement(t, 10, kNearOne), SetElement(t, 14, -0.5f);
     }},
};

TEST(XformRounding, ExtendedFormsRoundOnce) {
  std::mt19937 rng(7);
  for (int f = 0; f < kXformFormCount; ++f) {
    const XformForm &form = kXformForms[f];
    if (form.isa == Isa::K3D) continue;
    for (const CancelCase &c : kCancelCases) {
      if (form.size < c.minSize) continue;
      SCOPED_TRACE(std::string(form.name) + ": " + c.what);
      TestMatrix t = MakeMatrix(form.type, form.type, rng);
      for (int i = 0; i < 16; ++i)
        if (!isnan(t.m.matrix[i])) SetElement(&t, i, 0);
      float in[4] = {0, 0, 0, 1};
      c.set(&t, in, form.type);
      GlCoord out;
      CallChecked(reinterpret_cast<const void *>(form.proc), {Word(&out), Word(in), Word(&t.m)});
      const float got[4] = {out.x, out.y, out.z, out.w};
      EXPECT_EQ(got[c.component], kExact) << std::hexfloat << got[c.component];
    }
  }
}

}  // namespace
