#include "support/name_list.h"

#include <functional>
#include <map>

#include "sim_test.h"

namespace {

std::string Names(const NameList& list) {
  std::string names;
  for (NameNode* node = list.Head(); node; node = node->Next())
    names += std::string(names.empty() ? "" : ",") + (node->Name() ? node->Name() : "(null)");
  return names;
}

// A list built from "a,b,c" plus nodes that are in no list, all by name.
struct Fixture {
  NameList list;
  std::map<std::string, NameNode*> nodes;
  std::vector<NameNode*> strays;

  explicit Fixture(const std::vector<std::string>& inList) {
    for (const std::string& name : inList) list.Append(nodes[name] = new NameNode(name.c_str()));
  }
  NameNode* Stray(const char* name) {
    NameNode* node = new NameNode(name);
    strays.push_back(node);
    nodes[name] = node;
    return node;
  }
  ~Fixture() {
    // Strays that an operation linked are the list's now.
    for (NameNode* node : strays) {
      bool linked = false;
      for (NameNode* in = list.Head(); in; in = in->Next()) linked |= in == node;
      if (!linked) delete node;
    }
  }
};

struct ListRow {
  int line;
  const char* what;
  std::vector<std::string> start;
  std::function<void(Fixture&)> operation;
  std::string expected;
  int expectedCount;
};

// Applies the row's operation and checks the list's order and count.
void RunRow(const ListRow& row, Fixture& fixture) {
  SCOPED_TRACE(::testing::Message() << row.what << " (line " << row.line << ")");
  row.operation(fixture);
  EXPECT_EQ(row.expected, Names(fixture.list));
  EXPECT_EQ(row.expectedCount, fixture.list.Count());
}

TEST(NameListOperations, InsertionsCountOnceAndLinkWhereExpected) {
  // One row a case reads better than one argument a line.
  // clang-format off
  const ListRow rows[] = {
      {__LINE__, "push front", {"a"}, [](Fixture& f) {
         NameNode* x = f.Stray("x");
         EXPECT_EQ(x, f.list.PushFront(x));
       },
       "x,a", 2},
      {__LINE__, "append to empty", {}, [](Fixture& f) { f.list.Append(f.Stray("x")); }, "x", 1},
      {__LINE__, "append", {"a", "b"}, [](Fixture& f) { f.list.Append(f.Stray("x")); }, "a,b,x", 3},
      {__LINE__, "insert after the middle", {"a", "b", "c"},
       [](Fixture& f) { f.list.InsertAfter(f.Stray("x"), f.nodes["b"]); }, "a,b,x,c", 4},
      {__LINE__, "insert after null goes to the head", {"a", "b"},
       [](Fixture& f) { f.list.InsertAfter(f.Stray("x"), nullptr); }, "x,a,b", 3},
      {__LINE__, "insert after anything in an empty list goes to the head", {},
       [](Fixture& f) { f.list.InsertAfter(f.Stray("x"), f.Stray("y")); }, "x", 1},
      {__LINE__, "insert before the middle", {"a", "b", "c"},
       [](Fixture& f) { f.list.InsertBefore(f.Stray("x"), f.nodes["c"]); }, "a,b,x,c", 4},
      {__LINE__, "insert before the head", {"a", "b"},
       [](Fixture& f) { f.list.InsertBefore(f.Stray("x"), f.nodes["a"]); }, "x,a,b", 3},
      {__LINE__, "insert before null appends", {"a", "b"},
       [](Fixture& f) { f.list.InsertBefore(f.Stray("x"), nullptr); }, "a,b,x", 3},
      {__LINE__, "insert before a node not in the list appends", {"a", "b"},
       [](Fixture& f) { f.list.InsertBefore(f.Stray("x"), f.Stray("y")); }, "a,b,x", 3},
      {__LINE__, "insert before anything in an empty list", {},
       [](Fixture& f) { f.list.InsertBefore(f.Stray("x"), f.Stray("y")); }, "x", 1},
      {__LINE__, "null nodes change nothing", {"a"},
       [](Fixture& f) {
         EXPECT_EQ(nullptr, f.list.PushFront(nullptr));
         EXPECT_EQ(nullptr, f.list.InsertAfter(nullptr, f.nodes["a"]));
         f.list.Append(nullptr);
         f.list.InsertBefore(nullptr, f.nodes["a"]);
         EXPECT_FALSE(f.list.Unlink(nullptr));
         EXPECT_FALSE(f.list.Release(nullptr));
       },
       "a", 1},
  };
  // clang-format on
  for (const ListRow& row : rows) {
    Fixture fixture(row.start);
    RunRow(row, fixture);
    for (NameNode* node = fixture.list.Head(); node; node = node->Next()) EXPECT_EQ(1, node->Insertions());
  }
}

TEST(NameListOperations, UnlinkAndRelease) {
  const ListRow rows[] = {
      {__LINE__,
       "unlink the head",
       {"a", "b", "c"},
       [](Fixture& f) {
         EXPECT_TRUE(f.list.Unlink(f.nodes["a"]));
         EXPECT_EQ(nullptr, f.nodes["a"]->Next());
         EXPECT_EQ(1, f.nodes["a"]->Insertions());  // not taken back
         delete f.nodes["a"];
       },
       "b,c",
       2},
      {__LINE__,
       "unlink the last",
       {"a", "b", "c"},
       [](Fixture& f) {
         EXPECT_TRUE(f.list.Unlink(f.nodes["c"]));
         delete f.nodes["c"];
       },
       "a,b",
       2},
      {__LINE__,
       "unlink a stranger fails and changes nothing",
       {"a", "b"},
       [](Fixture& f) { EXPECT_FALSE(f.list.Unlink(f.Stray("x"))); },
       "a,b",
       2},
      {__LINE__, "unlink from an empty list", {}, [](Fixture& f) { EXPECT_FALSE(f.list.Unlink(f.Stray("x"))); }, "", 0},
      {__LINE__,
       "release a node inserted once destroys it",
       {"a", "b", "c"},
       [](Fixture& f) { EXPECT_TRUE(f.list.Release(f.nodes["b"])); },
       "a,c",
       2},
      {__LINE__,
       "release of a stranger inserted once keeps it alive",
       {"a"},
       [](Fixture& f) {
         NameNode* stray = f.Stray("x");
         f.list.PushFront(stray);
         EXPECT_TRUE(f.list.Unlink(stray));
         NameList other;
         other.Append(f.Stray("y"));
         EXPECT_TRUE(other.Unlink(f.nodes["y"]));
         EXPECT_FALSE(f.list.Release(f.nodes["y"]));
         EXPECT_STREQ("y", f.nodes["y"]->Name());  // still alive: the sanitizer would object otherwise
       },
       "a",
       1},
      {__LINE__,
       "unlinked and inserted again counts two; release then destroys it",
       {"a", "b"},
       [](Fixture& f) {
         NameNode* a = f.nodes["a"];
         EXPECT_TRUE(f.list.Unlink(a));
         f.list.Append(a);
         EXPECT_EQ(2, a->Insertions());
         EXPECT_TRUE(f.list.Release(a));
       },
       "b",
       1},
      {__LINE__,
       "a count above two is only taken down",
       {"a", "b"},
       [](Fixture& f) {
         NameNode* a = f.nodes["a"];
         for (int i = 0; i < 2; ++i) {
           f.list.Unlink(a);
           f.list.Append(a);
         }
         EXPECT_EQ(3, a->Insertions());
         EXPECT_TRUE(f.list.Release(a));
         EXPECT_EQ(2, a->Insertions());
       },
       "b,a",
       2},
      {__LINE__, "clear of an empty list", {}, [](Fixture& f) { f.list.Clear(); }, "", 0},
      {__LINE__, "clear", {"a", "b"}, [](Fixture& f) { f.list.Clear(); }, "", 0},
  };
  for (const ListRow& row : rows) {
    Fixture fixture(row.start);
    RunRow(row, fixture);
  }
}

TEST(NameListOperations, FindMatchesTheFirstByteExactlyAndFoldsTheRest) {
  Fixture fixture({"..\\", ".\\", "Data", "readme.TXT"});
  fixture.list.Append(new NameNode);  // a node without a name is passed over
  const struct {
    int line;
    const char* key;
    const char* found;  // null: nothing
  } rows[] = {
      {__LINE__, ".\\", ".\\"},    {__LINE__, "..\\", "..\\"},        {__LINE__, "DATA", "Data"},
      {__LINE__, "data", nullptr}, {__LINE__, "README.txt", nullptr}, {__LINE__, "rEADME.txt", "readme.TXT"},
      {__LINE__, "Dat", nullptr},  {__LINE__, "", nullptr},           {__LINE__, nullptr, nullptr},
  };
  for (const auto& row : rows) {
    ROW_TRACE(row);
    NameNode* node = fixture.list.Find(row.key);
    if (row.found) {
      ASSERT_NE(nullptr, node);
      EXPECT_STREQ(row.found, node->Name());
    } else {
      EXPECT_EQ(nullptr, node);
    }
  }
}

TEST(NameNodeNames, SetNameCopiesBeforeFreeing) {
  NameNode node("C:\\folder\\name");
  node.SetName(node.Name() + 3);  // text inside the current name
  EXPECT_STREQ("folder\\name", node.Name());
  node.SetName(node.Name());
  EXPECT_STREQ("folder\\name", node.Name());
  node.SetName("");
  EXPECT_STREQ("", node.Name());
  node.SetName(nullptr);
  EXPECT_EQ(nullptr, node.Name());
  NameNode empty;
  EXPECT_EQ(nullptr, empty.Name());
  EXPECT_EQ(0, empty.Insertions());
  EXPECT_EQ(nullptr, empty.Next());
}

}  // namespace
