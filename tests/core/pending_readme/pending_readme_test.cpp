// The README's "What it does not do" names, between its pending-entry
// markers, exactly the immediate entries core/dispatch_pending.h still lists
// (as `glName`), and mentions the list-compile stand-ins while there are any.
// When an entry is built and its row removed, this test names the line to
// take out of the README.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "core/dispatch_pending.h"

namespace {

// Each list leads with "" so that it may run empty.
#define PENDING_NAME(name) , "gl" #name
const char *const kPendingImmediate[] = {"" GL_PENDING_IMMEDIATE(PENDING_NAME)};
#define PENDING_LIST_COMPILE_NAME(name) #name,
const char *const kPendingListCompile[] = {"" GL_PENDING_LIST_COMPILE(PENDING_LIST_COMPILE_NAME)};
#undef PENDING_NAME
#undef PENDING_LIST_COMPILE_NAME

constexpr const char *kBegin = "<!-- pending entries: begin -->";
constexpr const char *kEnd = "<!-- pending entries: end -->";

std::string ReadReadme() {
  std::ifstream in(VLX_README_PATH);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The text between the markers; empty when they are missing.
std::string PendingBlock(const std::string &readme) {
  const size_t begin = readme.find(kBegin);
  const size_t end = readme.find(kEnd);
  if (begin == std::string::npos || end == std::string::npos || end < begin) return {};
  return readme.substr(begin, end - begin);
}

std::string Join(const std::set<std::string> &names) {
  std::string text;
  for (const std::string &n : names) text += (text.empty() ? "" : ", ") + n;
  return text.empty() ? "(none)" : text;
}

TEST(PendingReadme, NamesExactlyThePendingImmediateEntries) {
  const std::string readme = ReadReadme();
  ASSERT_FALSE(readme.empty()) << VLX_README_PATH;
  const std::string block = PendingBlock(readme);
  ASSERT_FALSE(block.empty()) << "README.md lacks the markers " << kBegin << " and " << kEnd;

  std::set<std::string> named;
  const std::regex entry("`(gl[A-Z][A-Za-z0-9]*)`");
  for (std::sregex_iterator it(block.begin(), block.end(), entry), end; it != end; ++it)
    named.insert((*it)[1]);
  const std::set<std::string> pending(std::begin(kPendingImmediate) + 1,
                                      std::end(kPendingImmediate));

  std::set<std::string> built, missing;
  for (const std::string &n : named)
    if (!pending.count(n)) built.insert(n);
  for (const std::string &n : pending)
    if (!named.count(n)) missing.insert(n);
  EXPECT_TRUE(built.empty()) << "README.md names as not built, but core/dispatch_pending.h no "
                                "longer lists them (take them out of the README): "
                             << Join(built);
  EXPECT_TRUE(missing.empty()) << "core/dispatch_pending.h lists them, but README.md does not "
                                  "name them between its pending-entry markers: "
                               << Join(missing);
}

TEST(PendingReadme, MentionsTheListCompileStandInsWhileThereAreAny) {
  const std::string block = PendingBlock(ReadReadme());
  const bool any = std::size(kPendingListCompile) > 1;
  EXPECT_EQ(block.find("GL_PENDING_LIST_COMPILE") != std::string::npos, any)
      << (any ? "README.md must say that list compilation of the entries in "
                "GL_PENDING_LIST_COMPILE records nothing"
              : "GL_PENDING_LIST_COMPILE is empty: take its sentence out of README.md");
}

}  // namespace
