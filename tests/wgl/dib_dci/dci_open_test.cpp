// The DCI library binding: the first open loads "DCIMAN32.DLL", opens the
// provider and creates the primary surface; later opens only count; the last
// close gives everything back; each failure on demand reports, leaves the
// count where it was and lets a later open succeed.
#include "tests/wgl/dib_dci/kind_fixture.h"
#include "wgl/wgl_dci_binding.h"

namespace {

class DciOpen : public KindTest {};

TEST_F(DciOpen, TheSecondOpenOnlyCounts) {
  ASSERT_TRUE(__wglDCIOpen());
  LPDCISURFACEINFO primary = wgl::lpDCIPrimarySurface;
  ASSERT_NE(primary, nullptr);
  EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 1u);
  PlatformArmFault({"DCIOpenProvider", nullptr, 0, 0, 0});
  PlatformArmFault({"DCICreatePrimary", nullptr, 0, 0, 0});
  EXPECT_TRUE(__wglDCIOpen());
  EXPECT_EQ(wgl::cDCICount, 2);
  EXPECT_EQ(wgl::lpDCIPrimarySurface, primary);
  EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 1u);
  EXPECT_EQ(PlatformFaultsFired(nullptr), 0u);
  PlatformClearFaults();
  EXPECT_TRUE(__wglDCIClose());
  EXPECT_EQ(wgl::lpDCIPrimarySurface, primary);
  EXPECT_TRUE(__wglDCIClose());
  EXPECT_EQ(wgl::cDCICount, 0);
  EXPECT_EQ(wgl::lpDCIPrimarySurface, nullptr);
  EXPECT_EQ(wgl::hDCIMan, nullptr);
  EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
  // A close too many does nothing.
  EXPECT_TRUE(__wglDCIClose());
  EXPECT_EQ(wgl::cDCICount, 0);
}

struct OpenFailure {
  PlatformFault fault;
  const char *message;  // none: the failure is silent
};

const OpenFailure kFailures[] = {
    {{"LoadLibraryA", "DCIMAN32.DLL", 0, 0, 0}, nullptr},
    {{"GetProcAddress", "DCIEndAccess", 0, 0, 0}, "__wglInitializeDCI: GetProcAddress failed"},
    {{"DCIOpenProvider", nullptr, 0, 0, 0}, "__wglInitializeDCI: DCIOpenProvider failed"},
    {{"DCICreatePrimary", nullptr, 0, 0, 0}, "__wglInitializeDCI: DCICreatePrimary failed"},
};

TEST_F(DciOpen, FailuresReportAndUndoTheOpen) {
  for (const OpenFailure &c : kFailures) {
    SCOPED_TRACE(c.fault.call);
    PlatformClearDebugOutput();
    PlatformArmFault(c.fault);
    EXPECT_FALSE(__wglDCIOpen());
    PlatformClearFaults();
    if (c.message) {
      EXPECT_TRUE(ReportedError(c.message)) << DebugOutput();
    } else {
      EXPECT_EQ(DebugOutput().find("OGL ERR"), std::string::npos);
    }
    EXPECT_EQ(wgl::cDCICount, 0);
    EXPECT_EQ(wgl::lpDCIPrimarySurface, nullptr);
    EXPECT_EQ(wgl::hDCIMan, nullptr);
    EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
    // A failed open is not counted as a user: the next one starts afresh.
    ASSERT_TRUE(__wglDCIOpen());
    EXPECT_NE(wgl::lpDCIPrimarySurface, nullptr);
    EXPECT_TRUE(__wglDCIClose());
    EXPECT_EQ(PlatformModuleLoadCount("DCIMAN32.DLL"), 0u);
  }
}

}  // namespace
