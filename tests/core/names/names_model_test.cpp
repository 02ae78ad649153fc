// The name manager against a plain reference model: a set of names in use,
// the item bound to each name and the count each item should carry. Long
// random sequences of every operation, with the tree checked after each
// step; and every allocation of a set of operations refused in turn.
#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "core/s_names_tree.h"
#include "tests/core/names/names_support.h"

namespace names_test {
namespace {

const GLuint kTop = 0xFFFFFFFFu;

struct Range {
  GLuint first, last;
};

class Harness {
 public:
  explicit Harness(GlContext *gc) : gc_(gc) { array = __glNamesNewArray(gc, GL_NAMES_DLIST); }
  ~Harness() { Finish(); }

  // Empties the spare pools, so that the next change must refill them.
  void DrainPools() {
    while (array->nbranches > 0) gc_->imports.free(gc_, array->spareBranches[--array->nbranches]);
    while (array->nleaves > 0) gc_->imports.free(gc_, array->spareLeaves[--array->nleaves]);
  }

  // ---- Operations, applied to the array and the model -------------------------

  void GenRange(GLsizei n) {
    GLuint first = __glNamesGenRange(gc_, array, n);
    GLenum error = TakeError();
    if (first == 0) {
      if (error == GL_OUT_OF_MEMORY) return;  // refused before any change
      EXPECT_EQ(error, GL_NO_ERROR);
      EXPECT_FALSE(FirstGap(n, nullptr)) << "0 although " << n << " names were free";
      return;
    }
    EXPECT_EQ(error, GL_NO_ERROR);
    Range gap;
    ASSERT_TRUE(FirstGap(n, &gap)) << "names given although none were free";
    // First fit: inside the first gap that holds n names.
    EXPECT_GE(first, gap.first);
    EXPECT_LE(static_cast<uint64_t>(first) + n - 1, gap.last) << "not in the first gap that fits";
    for (GLsizei i = 0; i < n; ++i) used_.insert(first + static_cast<GLuint>(i));
  }

  void GenNames(GLsizei n) {
    std::vector<GLuint> names(n, 0);
    __glNamesGenNames(gc_, array, n, names.data());
    GLenum error = TakeError();
    if (names[0] == 0) {
      EXPECT_TRUE(error == GL_OUT_OF_MEMORY || !FirstGap(n, nullptr));
      for (GLuint name : names) EXPECT_EQ(name, 0u) << "written after a failure";
      return;
    }
    for (GLsizei i = 0; i < n; ++i) {
      EXPECT_EQ(names[i], names[0] + static_cast<GLuint>(i));
      EXPECT_FALSE(used_.count(names[i])) << names[i] << " was in use";
      used_.insert(names[i]);
    }
  }

  // Binds a new item (or, with bind false, only releases).
  void NewData(GLuint name, bool bind) {
    TestList *item = bind ? NewTestList(++lastId_) : nullptr;
    GLboolean ok = __glNamesNewData(gc_, array, name, item);
    GLenum error = TakeError();
    if (!ok) {
      EXPECT_EQ(error, static_cast<GLenum>(GL_OUT_OF_MEMORY));
      if (item) {
        delete item;  // the caller keeps what was not bound
        ++refused_;
      }
      return;
    }
    EXPECT_EQ(error, GL_NO_ERROR);
    Unbind(name);
    used_.insert(name);
    if (item) {
      bound_[name] = item;
      counts_[item] = 1;
    }
  }

  void DeleteRange(GLuint first, GLuint count) {
    __glNamesDeleteRange(gc_, array, first, count);
    if (count == 0) return;
    uint64_t last = std::min<uint64_t>(static_cast<uint64_t>(first) + count - 1, kTop);
    Deleted({{first, static_cast<GLuint>(last)}});
  }

  void DeleteNames(const std::vector<GLuint> &names) {
    __glNamesDeleteNames(gc_, array, static_cast<GLsizei>(names.size()), names.data());
    std::vector<Range> ranges;
    for (GLuint name : names) ranges.push_back({name, name});
    Deleted(ranges);
  }

  void IsName(GLuint name) {
    EXPECT_EQ(__glNamesIsName(gc_, array, name) != 0, used_.count(name) != 0) << name;
  }

  void LockData(GLuint name) {
    void *item = __glNamesLockData(gc_, array, name);
    GlNamesLeaf *leaf = names::findLeaf(array, name, true);
    void *expect = nullptr;
    if (bound_.count(name))
      expect = bound_[name];
    else if (leaf && leaf->dataList)
      expect = &emptyDlist;
    EXPECT_EQ(item, expect) << name;
    if (item) Locked(item);
  }

  void LockDataList(const std::vector<GLuint> &names) {
    std::vector<void *> items(names.size());
    __glNamesLockDataList(gc_, array, static_cast<GLsizei>(names.size()), GL_UNSIGNED_INT, 0,
                          names.data(), items.data());
    for (size_t i = 0; i < names.size(); ++i) {
      void *expect = bound_.count(names[i]) ? static_cast<void *>(bound_[names[i]]) : &emptyDlist;
      EXPECT_EQ(items[i], expect) << names[i];
    }
    for (void *item : items) Locked(item);
  }

  // Drops the lock taken `pick` locks ago (modulo the number held).
  void Unlock(size_t pick) {
    if (locks_.empty()) return;
    size_t i = pick % locks_.size();
    void *item = locks_[i];
    locks_.erase(locks_.begin() + static_cast<long>(i));
    __glNamesUnlockData(gc_, array, item);
    Unlocked(item);
  }

  void UnlockAll() {
    std::vector<void *> items;
    items.swap(locks_);
    __glNamesUnlockDataList(gc_, array, static_cast<GLsizei>(items.size()), items.data());
    for (void *item : items) Unlocked(item);
  }

  // ---- Checks -----------------------------------------------------------------

  ::testing::AssertionResult Agrees() {
    ::testing::AssertionResult sound = TreeIsSound(array);
    if (!sound) return sound;
    uint64_t total = 0;
    for (const LeafShape &run : Shape(array)) total += static_cast<uint64_t>(run.end) - run.start + 1;
    if (total != used_.size())
      return ::testing::AssertionFailure() << "runs hold " << total << " names, the model "
                                           << used_.size() << ": " << ShapeText(Shape(array));
    // One ordered walk over the runs, the names in use and the bindings.
    auto u = used_.begin();
    auto b = bound_.begin();
    for (GlNamesLeaf *leaf = names::firstLeaf(array); leaf; leaf = names::nextLeaf(leaf)) {
      for (GLuint name = leaf->start;; ++name) {
        if (u == used_.end() || *u != name)
          return ::testing::AssertionFailure() << name << " should be unused";
        ++u;
        if (b != bound_.end() && b->first < name)
          return ::testing::AssertionFailure() << b->first << " is bound but not in use";
        bool isBound = b != bound_.end() && b->first == name;
        if (leaf->dataList) {
          void *expect = isBound ? static_cast<void *>(b->second) : &emptyDlist;
          if (leaf->dataList[name - leaf->start] != expect)
            return ::testing::AssertionFailure() << "wrong entry for " << name;
        } else if (isBound) {
          return ::testing::AssertionFailure() << name << " is bound but its run has no data";
        }
        if (isBound) ++b;
        if (name == leaf->end) break;
      }
    }
    if (b != bound_.end()) return ::testing::AssertionFailure() << b->first << " is bound but not in use";
    for (const auto &[item, count] : counts_) {
      if (FreeCount(item->id) != 0)
        return ::testing::AssertionFailure() << "item " << item->id << " freed while held";
      if (item->list.refcount != count)
        return ::testing::AssertionFailure() << "item " << item->id << " counts "
                                             << item->list.refcount << ", expected " << count;
    }
    if (FreedTotal() != freed_)
      return ::testing::AssertionFailure() << FreedTotal() << " items freed, expected " << freed_;
    if (emptyDlist.refcount != 1 + emptyLocks_)
      return ::testing::AssertionFailure() << "empty list counts " << emptyDlist.refcount;
    return ::testing::AssertionSuccess();
  }

  // Releases everything; every item must have been freed exactly once.
  void Finish() {
    if (array == nullptr) return;
    heap.FailAt(0);
    UnlockAll();
    __glNamesFreeArray(gc_, array);
    array = nullptr;
    std::vector<int> freed = FreedIds();
    EXPECT_EQ(static_cast<int>(freed.size()), lastId_ - refused_) << "items freed at the end";
    std::sort(freed.begin(), freed.end());
    EXPECT_EQ(std::adjacent_find(freed.begin(), freed.end()), freed.end()) << "an item freed twice";
    EXPECT_EQ(emptyDlist.refcount, 1);
  }

  GlNamesArray *array;

 private:
  GLenum TakeError() {
    GLenum e = gc_->error;
    gc_->error = GL_NO_ERROR;
    return e;
  }

  // The first run of unused names in [1, kTop] holding n names.
  bool FirstGap(GLsizei n, Range *gap) {
    uint64_t next = 1;  // first name not yet known to be used
    auto check = [&](uint64_t limit) {  // names next .. limit - 1 are free
      if (limit > next && limit - next >= static_cast<uint64_t>(n)) {
        if (gap) *gap = {static_cast<GLuint>(next), static_cast<GLuint>(limit - 1)};
        return true;
      }
      return false;
    };
    for (GLuint name : used_) {
      if (name < next) continue;
      if (check(name)) return true;
      next = static_cast<uint64_t>(name) + 1;
    }
    return check(static_cast<uint64_t>(kTop) + 1);
  }

  void Unbind(GLuint name) {
    auto b = bound_.find(name);
    if (b == bound_.end()) return;
    TestList *item = b->second;
    bound_.erase(b);
    Unlocked(item);
  }

  void Locked(void *item) {
    locks_.push_back(item);
    if (item == &emptyDlist)
      ++emptyLocks_;
    else
      ++counts_[static_cast<TestList *>(item)];
  }

  void Unlocked(void *item) {
    if (item == &emptyDlist) {
      --emptyLocks_;
      return;
    }
    TestList *list = static_cast<TestList *>(item);
    if (--counts_[list] == 0) {
      counts_.erase(list);
      ++freed_;
    }
  }

  // After deletes: bound names of the ranges are released. A refused split
  // leaves one run whole; the names that stay must be a run that was in use.
  void Deleted(const std::vector<Range> &ranges) {
    bool refused = TakeError() == GL_OUT_OF_MEMORY;
    for (const Range &r : ranges) {
      for (auto b = bound_.lower_bound(r.first); b != bound_.end() && b->first <= r.last;)
        Unbind((b++)->first);
      auto lo = used_.lower_bound(r.first);
      auto hi = r.last == kTop ? used_.end() : used_.upper_bound(r.last);
      if (!refused) {
        used_.erase(lo, hi);
        continue;
      }
      std::vector<GLuint> kept;
      for (auto it = lo; it != hi; ++it)
        if (__glNamesIsName(gc_, array, *it)) kept.push_back(*it);
      used_.erase(lo, hi);
      used_.insert(kept.begin(), kept.end());
      if (!kept.empty()) {
        EXPECT_EQ(kept.back() - kept.front() + 1, kept.size()) << "kept names are not one run";
      }
    }
  }

  GlContext *gc_;
  std::set<GLuint> used_;
  std::map<GLuint, TestList *> bound_;
  std::map<TestList *, int> counts_;  // live items and the count they should carry
  std::vector<void *> locks_;
  int emptyLocks_ = 0;
  size_t freed_ = 0;
  int lastId_ = 0;
  int refused_ = 0;  // items the array refused (deleted by the caller)
};

using NamesModel = HeapCheckedTest;

// ---- Random sequences -----------------------------------------------------------

struct RandomCase {
  const char *what;
  unsigned seed;
  int steps;
  GLuint window;        // most names fall in [1, window]
  double failureRate;   // share of steps run with an allocation refused
};

const RandomCase kRandomCases[] = {
    {"dense small names", 1, 4000, 300, 0.0},
    {"sparse names", 2, 4000, 3000, 0.0},
    {"dense, with refused allocations", 3, 4000, 300, 0.2},
    {"sparse, with refused allocations", 4, 4000, 3000, 0.2},
    {"mostly refused", 5, 2000, 500, 0.6},
};

GLuint PickName(std::mt19937 &rng, GLuint window) {
  switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
    case 0: return std::uniform_int_distribution<GLuint>(0, 40)(rng);
    case 1: return kTop - std::uniform_int_distribution<GLuint>(0, 40)(rng);
    default: return std::uniform_int_distribution<GLuint>(1, window)(rng);
  }
}

TEST_F(NamesModel, RandomSequencesAgreeWithTheModel) {
  for (const RandomCase &c : kRandomCases) {
    SCOPED_TRACE(c.what);
    ClearFreed();
    std::mt19937 rng(c.seed);
    Harness h(ctx.gc);
    ASSERT_NE(h.array, nullptr);
    auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int step = 0; step < c.steps; ++step) {
      if (uniform(0, 99) == 0) h.DrainPools();
      bool refuse = std::uniform_real_distribution<double>(0, 1)(rng) < c.failureRate;
      if (refuse) heap.FailAt(uniform(1, 4), uniform(0, 2) == 0);
      int op = uniform(0, 99);
      std::string what;
      if (op < 10) {
        int n = uniform(0, 9) == 0 ? uniform(1, 400) : uniform(1, 20);
        what = "GenRange " + std::to_string(n);
        h.GenRange(n);
      } else if (op < 14) {
        what = "GenNames";
        h.GenNames(uniform(1, 6));
      } else if (op < 40) {
        GLuint name = PickName(rng, c.window);
        what = "bind " + std::to_string(name);
        h.NewData(name, true);
      } else if (op < 47) {
        GLuint name = PickName(rng, c.window);
        what = "release " + std::to_string(name);
        h.NewData(name, false);
      } else if (op < 60) {
        GLuint first = PickName(rng, c.window);
        GLuint count = uniform(0, 29) == 0 ? kTop : static_cast<GLuint>(uniform(0, 60));
        what = "delete " + std::to_string(first) + " +" + std::to_string(count);
        h.DeleteRange(first, count);
      } else if (op < 64) {
        std::vector<GLuint> names;
        GLuint name = PickName(rng, c.window);
        for (int i = uniform(1, 8); i > 0; --i)
          names.push_back(uniform(0, 2) ? name++ : (name = PickName(rng, c.window)));
        what = "delete names";
        h.DeleteNames(names);
      } else if (op < 68) {
        what = "is name";
        h.IsName(PickName(rng, c.window));
      } else if (op < 80) {
        what = "lock";
        h.LockData(PickName(rng, c.window));
      } else if (op < 84) {
        std::vector<GLuint> names;
        GLuint name = PickName(rng, c.window);
        for (int i = uniform(1, 10); i > 0; --i) names.push_back(uniform(0, 3) ? name++ : PickName(rng, c.window));
        what = "lock list";
        h.LockDataList(names);
      } else if (op < 98) {
        what = "unlock";
        h.Unlock(static_cast<size_t>(uniform(0, 1000)));
      } else {
        what = "unlock all";
        h.UnlockAll();
      }
      heap.FailAt(0);
      ASSERT_TRUE(h.Agrees()) << "step " << step << ": " << what;
      if (HasFailure()) FAIL() << "step " << step << ": " << what;
    }
  }
}

// ---- Every allocation refused in turn ----------------------------------------------

struct RefusalCase {
  const char *what;
  void (*setup)(Harness &);
  void (*op)(Harness &);
};

void Nothing(Harness &) {}
void Reserved100(Harness &h) { h.GenRange(100); }
void Data1To6(Harness &h) {
  for (GLuint n = 1; n <= 6; ++n) h.NewData(n, true);
}
void DataAround10(Harness &h) {
  for (GLuint n = 1; n <= 20; ++n)
    if (n != 10) h.NewData(n, true);
}
void Data1To20(Harness &h) {
  for (GLuint n = 1; n <= 20; ++n) h.NewData(n, true);
}
void Mixed(Harness &h) {
  for (GLuint n = 1; n <= 10; ++n) h.NewData(n, true);
  for (GLuint n = 20; n <= 30; ++n) h.NewData(n, false);
  for (GLuint n = 40; n <= 60; ++n) h.NewData(n, true);
}
void ManyRuns(Harness &h) {
  for (GLuint n = 1; n <= 250; n += 3) h.NewData(n, n % 2 == 0);
}

const RefusalCase kRefusalCases[] = {
    {"reserve in an empty array", Nothing, [](Harness &h) { h.GenRange(5); }},
    {"reserve after runs", Mixed, [](Harness &h) { h.GenRange(5); }},
    {"reserve names", Mixed, [](Harness &h) { h.GenNames(3); }},
    {"bind a new name", Nothing, [](Harness &h) { h.NewData(5, true); }},
    {"bind inside a long reserved run", Reserved100, [](Harness &h) { h.NewData(50, true); }},
    {"bind next to a data run", Data1To6, [](Harness &h) { h.NewData(7, true); }},
    {"bind between two data runs", DataAround10, [](Harness &h) { h.NewData(10, true); }},
    {"bind in a data run", Data1To20, [](Harness &h) { h.NewData(10, true); }},
    {"bind among many runs", ManyRuns, [](Harness &h) { h.NewData(2, true); }},
    {"release a new name", ManyRuns, [](Harness &h) { h.NewData(3, false); }},
    {"delete inside a data run", Data1To20, [](Harness &h) { h.DeleteRange(5, 3); }},
    {"delete inside a reserved run", Reserved100, [](Harness &h) { h.DeleteRange(5, 3); }},
    {"delete across runs", Mixed, [](Harness &h) { h.DeleteRange(3, 50); }},
    {"delete scattered names", Mixed, [](Harness &h) { h.DeleteNames({4, 5, 25, 50, 51, 2}); }},
};

TEST_F(NamesModel, EveryRefusedAllocationLeavesASoundArray) {
  for (const RefusalCase &c : kRefusalCases) {
    for (bool shortPools : {false, true}) {
      for (bool onward : {false, true}) {
        // k-th allocation of the operation refused, until the operation
        // needs fewer than k.
        for (long k = 1;; ++k) {
          SCOPED_TRACE(std::string(c.what) + (shortPools ? ", short pools" : "") +
                       (onward ? ", refusing onward" : "") + ", allocation " + std::to_string(k));
          ClearFreed();
          Harness h(ctx.gc);
          c.setup(h);
          if (shortPools) h.DrainPools();
          ASSERT_TRUE(h.Agrees());
          long before = heap.Failures();
          heap.FailAt(k, onward);
          c.op(h);
          heap.FailAt(0);
          bool reached = heap.Failures() > before;
          ASSERT_TRUE(h.Agrees());
          h.Finish();
          ASSERT_EQ(heap.Live(), 0) << "leak";
          if (!reached) break;
          ASSERT_LT(k, 100) << "the operation never stops allocating";
        }
      }
    }
  }
}

}  // namespace
}  // namespace names_test
