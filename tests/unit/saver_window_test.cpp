#include "actions/saver_window.h"

#include <functional>
#include <random>

#include "sim_test.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char kClass[] = "QV D3D Window";
const char kTitle[] = "Quorvane Halvenstrand";

using sim::AddWindow;
using sim::NameOf;

const uint32_t kSaverThread = 7;
const uint32_t kOtherThread = 9;

struct Scenario {
  int line;
  const char* what;
  // Builds the desktop; returns the window that must receive the message (null: none).
  std::function<platform::Window()> build;
  // The activation calls expected, in order, with "%s" for the receiving window.
  std::vector<std::string> activation;
  bool restoredAndForeground;  // the receiver was restored and in the foreground when the message came
};

std::vector<std::string> Fill(const std::vector<std::string>& calls, platform::Window window) {
  std::vector<std::string> filled;
  for (std::string call : calls) {
    size_t at = call.find("%s");
    if (at != std::string::npos) call.replace(at, 2, NameOf(window));
    filled.push_back(call);
  }
  return filled;
}

class LaunchCloseScenarios : public SimTest {};

const char kRaise[] = "SetWindowPos(%s, 0, 0, 0, 0, 0, 0x4003)";  // to the top, asynchronously
const std::vector<std::string> kActivationCalls = {"ShowWindow", "SetWindowPos", "SetForegroundWindow",
                                                   "BringWindowToTop"};

TEST_F(LaunchCloseScenarios, FindsActivatesAndAsksTheSaverToClose) {
  const std::vector<std::string> fullActivation = {"ShowWindowAsync(%s, 9)", kRaise, "SetForegroundWindow(%s)"};
  const std::vector<std::string> raiseOnly = {kRaise, "SetForegroundWindow(%s)"};
  const Scenario scenarios[] = {
      {__LINE__,
       "saver absent",
       [] {
         AddWindow("Shell_TrayWnd", "", nullptr, kOtherThread);
         AddWindow("Notepad", "Quorvane Halvenstrand - Notepad", nullptr, kOtherThread);
         return nullptr;
       },
       {},
       false},
      {__LINE__, "minimised, the foreground in another thread",
       [] {
         sim::SetForeground(AddWindow("Explorer", "Files", nullptr, kOtherThread));
         platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
         sim::SetIconic(saver, true);
         return saver;
       },
       fullActivation, true},
      {__LINE__, "minimised in the foreground thread",
       [] {
         platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
         sim::SetForeground(saver);
         sim::SetIconic(saver, true);
         return saver;
       },
       fullActivation, true},
      {__LINE__,
       "already active: no activation at all",
       [] {
         platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
         sim::SetForeground(AddWindow("Tool", "Other window of the saver", nullptr, kSaverThread));
         return saver;
       },
       {},
       false},
      {__LINE__, "owned popup active last, the foreground elsewhere: the popup gets it",
       [] {
         sim::SetForeground(AddWindow("Explorer", "Files", nullptr, kOtherThread));
         platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
         platform::Window popup = AddWindow("#32770", "Options", nullptr, kSaverThread);
         sim::SetOwner(popup, saver);
         sim::SetLastActivePopup(saver, popup);
         return popup;
       },
       raiseOnly, true},
      {__LINE__, "title and class in other letter cases, deep in a child tree",
       [] {
         sim::SetForeground(AddWindow("Explorer", "Files", nullptr, kOtherThread));
         platform::Window parent = AddWindow("Host", "Host", nullptr, kSaverThread);
         for (int level = 0; level < 5; ++level) parent = AddWindow("Pane", "", parent, kSaverThread);
         return AddWindow("qv d3d WINDOW", "QUORVANE halvenstrand", parent, kSaverThread);
       },
       raiseOnly, true},
      {__LINE__, "matches in two trees: the later tree wins",
       [] {
         sim::SetForeground(AddWindow("Explorer", "Files", nullptr, kOtherThread));
         platform::Window first = AddWindow("Host", "First", nullptr, kSaverThread);
         AddWindow(kClass, kTitle, AddWindow("Pane", "", first, kSaverThread), kSaverThread);
         platform::Window second = AddWindow("Host", "Second", nullptr, kSaverThread);
         platform::Window pane = AddWindow("Pane", "", second, kSaverThread);
         platform::Window wanted = AddWindow(kClass, kTitle, pane, kSaverThread);
         AddWindow(kClass, kTitle, second, kSaverThread);  // later in the same tree: the first match ended it
         AddWindow("Host", "Third, no saver", nullptr, kSaverThread);
         return wanted;
       },
       raiseOnly, true},
  };
  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(::testing::Message() << scenario.what << " (line " << scenario.line << ")");
    sim::Reset();
    platform::Window receiver = scenario.build();
    sim::ClearCalls();
    LaunchClose();
    std::vector<std::string> activation = sim::CallsNamed(kActivationCalls);
    if (!receiver) {
      EXPECT_THAT(sim::CallsNamed({"SendMessage"}), IsEmpty());
      EXPECT_THAT(activation, IsEmpty());
      continue;
    }
    EXPECT_EQ(Fill(scenario.activation, receiver), activation);
    // The message comes last, once, to the receiver.
    EXPECT_EQ("SendMessageTimeoutA(" + NameOf(receiver) + ", 0x800f, 0, 0, 0x2, 30000)", sim::Calls().back());
    ASSERT_EQ(1u, sim::Deliveries().size());
    const sim::Delivery& delivery = sim::Deliveries()[0];
    EXPECT_EQ(receiver, delivery.window);
    EXPECT_EQ(0x800Fu, delivery.message);
    EXPECT_EQ(0u, delivery.wParam);
    EXPECT_EQ(0, delivery.lParam);
    EXPECT_FALSE(delivery.iconic);
    if (scenario.restoredAndForeground) {
      EXPECT_TRUE(delivery.foreground);
    }
  }
}

// A saver whose thread has stopped pumping messages: nothing waits on it
// without a bound, and a window the system already counts as hung gets
// neither activation nor request.
TEST_F(LaunchCloseScenarios, AHungSaverNeverHoldsTheCaller) {
  const struct {
    int line;
    const char* what;
    bool countedHung, minimised, popup, inForegroundThread;
    std::vector<std::string> activation;  // "%s": the saver or its popup
    bool requested;
  } rows[] = {
      {__LINE__, "counted hung, minimised", true, true, false, false, {}, false},
      {__LINE__, "counted hung, with a popup", true, false, true, false, {}, false},
      {__LINE__, "counted hung, already active", true, false, false, true, {}, false},
      {__LINE__,
       "not yet counted, minimised",
       false,
       true,
       false,
       false,
       {"ShowWindowAsync(%s, 9)", kRaise, "SetForegroundWindow(%s)"},
       true},
      {__LINE__, "not yet counted, with a popup", false, false, true, false, {kRaise, "SetForegroundWindow(%s)"}, true},
      {__LINE__, "not yet counted, already active", false, false, false, true, {}, true},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.what << " (line " << row.line << ")");
    sim::Reset();
    platform::Window other = AddWindow("Explorer", "Files", nullptr, kOtherThread);
    platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
    platform::Window target = saver;
    if (row.popup) {
      target = AddWindow("#32770", "Options", nullptr, kSaverThread);
      sim::SetOwner(target, saver);
      sim::SetLastActivePopup(saver, target);
      sim::SetUnresponsive(target, row.countedHung);
    }
    sim::SetForeground(row.inForegroundThread ? AddWindow("Tool", "Saver tool", nullptr, kSaverThread) : other);
    sim::SetIconic(saver, row.minimised);
    sim::SetUnresponsive(saver, row.countedHung);
    uint32_t start = sim::Now();
    sim::ClearCalls();
    LaunchClose();
    EXPECT_EQ(Fill(row.activation, target), sim::CallsNamed(kActivationCalls));
    std::vector<std::string> sends = sim::CallsNamed({"SendMessage"});
    if (row.requested) {
      EXPECT_THAT(sends, ElementsAre("SendMessageTimeoutA(" + NameOf(target) + ", 0x800f, 0, 0, 0x2, 30000)"));
    } else {
      EXPECT_THAT(sends, IsEmpty());
    }
    EXPECT_THAT(sim::Deliveries(), IsEmpty());
    EXPECT_LE(sim::Now() - start, kRestoreWaitMs + kCloseRequestTimeoutMs);
    if (row.countedHung) {
      EXPECT_EQ(start, sim::Now()) << "no wait at all on a window counted as hung";
    }
  }
}

// Titles and classes are read into 64-byte buffers, 63 characters and the
// terminator: a wanted text of 64 characters or more can never match.
TEST_F(LaunchCloseScenarios, TextsAreComparedAsCutTo63Characters) {
  const std::string title63 = std::string(kTitle) + Repeat('x', 42), title64 = title63 + "y";
  platform::Window host = AddWindow("Host", "Host", nullptr, kSaverThread);
  platform::Window full = AddWindow(kClass, title64.c_str(), host, kSaverThread);
  EXPECT_EQ(nullptr, FindAppWindow(kClass, title64.c_str(), false));
  EXPECT_EQ(nullptr, FindAppWindow(kClass, (title64 + "zz").c_str(), false));
  // The same window is found by the first 63 characters of its title...
  EXPECT_EQ(full, FindAppWindow(kClass, title63.c_str(), false));
  // ...and by those of its class.
  const std::string class64 = Repeat('c', 64);
  platform::Window wide = AddWindow(class64.c_str(), kTitle, host, kSaverThread);
  EXPECT_EQ(nullptr, FindAppWindow(class64.c_str(), kTitle, false));
  EXPECT_EQ(wide, FindAppWindow(class64.substr(0, 63).c_str(), kTitle, false));
  for (const std::string& call : sim::CallsNamed({"GetWindowTextA", "GetClassNameA"}))
    EXPECT_EQ(", 64)", call.substr(call.size() - 5)) << call;
}

TEST_F(LaunchCloseScenarios, ATopLevelMatchIsFoundWithoutEnumerating) {
  platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
  sim::SetForeground(saver);
  EXPECT_EQ(saver, FindAppWindow(kClass, kTitle, true));
  EXPECT_THAT(sim::Calls(),
              ElementsAre("FindWindowExA(0, 0, QV D3D Window, Quorvane Halvenstrand)", "GetForegroundWindow()",
                          "GetWindowThreadProcessId(w1)", "GetWindowThreadProcessId(w1)", "IsIconic(w1)"));
}

TEST_F(LaunchCloseScenarios, WithActivationOffThePopupIsReturnedUntouched) {
  sim::SetForeground(AddWindow("Explorer", "Files", nullptr, kOtherThread));
  platform::Window saver = AddWindow(kClass, kTitle, nullptr, kSaverThread);
  platform::Window popup = AddWindow("#32770", "Options", nullptr, kSaverThread);
  sim::SetLastActivePopup(saver, popup);
  sim::SetIconic(popup, true);
  EXPECT_EQ(popup, FindAppWindow(kClass, kTitle, false));
  EXPECT_THAT(sim::CallsNamed({"ShowWindow", "SetWindowPos", "SetForegroundWindow", "IsIconic(w3)"}), IsEmpty());
  EXPECT_TRUE(sim::Iconic(popup));
}

TEST_F(LaunchCloseScenarios, NullCriteriaMatchAnything) {
  platform::Window host = AddWindow("Host", "Host", nullptr, kSaverThread);
  platform::Window pane = AddWindow("Pane", "", host, kSaverThread);
  sim::SetForeground(host);
  EXPECT_EQ(host, FindAppWindow(nullptr, nullptr, false));
  EXPECT_EQ(pane, FindAppWindow("pane", nullptr, false));
  EXPECT_EQ(host, FindAppWindow(nullptr, "HOST", false));
}

// The rule the search must keep: each top-level window in turn starts a child
// enumeration from every window that does not match, and every match
// overwrites the result. Written out literally, without the one-pass shortcut.
struct ModelWindow {
  std::string className, title;
  std::vector<int> children;
};

class NestedRuleModel {
 public:
  NestedRuleModel(const std::vector<ModelWindow>& windows, const std::vector<int>& topLevel)
      : windows_(windows), topLevel_(topLevel) {}

  int Find(const std::string& className, const std::string& title) {
    className_ = className;
    title_ = title;
    for (int id : topLevel_)
      if (Fold(windows_[id].className) == Fold(className) && Fold(windows_[id].title) == Fold(title)) return id;
    found_ = 0;
    for (int id : topLevel_)
      if (!Proc(id)) break;
    return found_;
  }

 private:
  static std::string Fold(std::string text) {
    for (char& c : text)
      if (c >= 'A' && c <= 'Z') c += 32;
    return text;
  }
  bool Matches(int id) const {
    return Fold(windows_[id].className.substr(0, 63)) == Fold(className_) &&
           Fold(windows_[id].title.substr(0, 63)) == Fold(title_);
  }
  void Descendants(int id, std::vector<int>* out) const {
    for (int child : windows_[id].children) {
      out->push_back(child);
      Descendants(child, out);
    }
  }
  bool Proc(int id) {
    if (Matches(id)) {
      found_ = id;
      return false;
    }
    std::vector<int> below;
    Descendants(id, &below);
    for (int child : below)
      if (!Proc(child)) break;
    return true;
  }

  const std::vector<ModelWindow>& windows_;
  const std::vector<int>& topLevel_;
  std::string className_, title_;
  int found_ = 0;
};

TEST_F(LaunchCloseScenarios, OnePassFindsWhatTheNestedRuleFindsAndReadsEachTitleOnce) {
  const char* classes[] = {kClass, "qv d3d window", "Static", "Button"};
  const char* titles[] = {kTitle, "QUORVANE HALVENSTRAND", "Quorvane", ""};
  int searchesThatFound = 0;
  for (unsigned seed = 1; seed <= 300; ++seed) {
    SCOPED_TRACE(::testing::Message() << "seed " << seed);
    sim::Reset();
    std::mt19937 random(seed);
    auto pick = [&](int n) { return static_cast<int>(random() % n); };
    std::vector<ModelWindow> model(1);  // ids match the simulated windows: w1 is model[1]
    std::vector<int> topLevel;
    std::vector<int> depth(1, 0);
    int trees = 1 + pick(6);
    for (int t = 0; t < trees; ++t) {
      int size = 1 + pick(25);
      std::vector<int> members;
      for (int n = 0; n < size; ++n) {
        // Matches are rare, so that most searches walk far.
        bool saverLike = pick(12) == 0;
        ModelWindow window{
            saverLike ? classes[pick(2)] : classes[2 + pick(2)], saverLike ? titles[pick(2)] : titles[pick(4)], {}};
        if (n == 0 && pick(4) != 0) window.title = "Top";
        int parent = 0;
        if (n > 0) {
          parent = members[pick(static_cast<int>(members.size()))];
          if (depth[parent] >= 10) parent = members[0];
        }
        platform::Window created = AddWindow(
            window.className.c_str(), window.title.c_str(),
            parent ? reinterpret_cast<platform::Window>(static_cast<uintptr_t>(parent)) : nullptr, kSaverThread);
        int id = static_cast<int>(reinterpret_cast<uintptr_t>(created));
        model.push_back(window);
        depth.push_back(parent ? depth[parent] + 1 : 0);
        if (parent)
          model[parent].children.push_back(id);
        else
          topLevel.push_back(id);
        members.push_back(id);
      }
    }
    int expected = NestedRuleModel(model, topLevel).Find(kClass, kTitle);
    platform::Window found = FindAppWindow(kClass, kTitle, false);
    EXPECT_EQ(expected, static_cast<int>(reinterpret_cast<uintptr_t>(found)));
    for (size_t id = 1; id < model.size(); ++id)
      EXPECT_LE(sim::TitleReads(reinterpret_cast<platform::Window>(id)), 1) << "w" << id;
    if (expected) ++searchesThatFound;
  }
  // The random desktops must exercise both outcomes.
  EXPECT_GT(searchesThatFound, 50);
  EXPECT_LT(searchesThatFound, 280);
}

TEST_F(LaunchCloseScenarios, DeepTreesAreExaminedOnce) {
  // 20 top-level windows, each holding a chain of 12 children, no saver.
  std::vector<platform::Window> all;
  for (int t = 0; t < 20; ++t) {
    platform::Window window = AddWindow("Host", "Host", nullptr, kSaverThread);
    all.push_back(window);
    for (int level = 0; level < 12; ++level) all.push_back(window = AddWindow("Pane", "", window, kSaverThread));
  }
  EXPECT_EQ(nullptr, FindAppWindow(kClass, kTitle, true));
  for (platform::Window window : all) EXPECT_EQ(1, sim::TitleReads(window)) << NameOf(window);
  EXPECT_EQ(20u, sim::CallsNamed({"EnumChildWindows"}).size());
}

}  // namespace
