#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/EditorTextBuffer.h"

namespace {

std::vector<std::string> LinesOf(const TEditorStringList& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list.GetLine(i));
  return lines;
}

void Fill(TEditorStringList& list, const std::vector<std::string>& lines) {
  for (const auto& s : lines) list.Add(s);
}

// Records every notification as a short text, e.g. "ins 0 1".
struct TEventLog {
  std::vector<std::string> events;
  void Attach(TEditorStringList& list) {
    list.OnUpdateStarted = [this](TEditorStringList*) { events.push_back("start"); };
    list.OnUpdateEnded = [this](TEditorStringList*) { events.push_back("end"); };
    list.OnLinesCleared = [this](TEditorStringList*) { events.push_back("cleared"); };
    list.OnLinesInserted = [this](TEditorStringList*, int i, int n) { Add("ins", i, n); };
    list.OnLinesDeleted = [this](TEditorStringList*, int i, int n) { Add("del", i, n); };
    list.OnLinesReplaced = [this](TEditorStringList*, int i, int n) { Add("rep", i, n); };
  }
  void Add(const char* what, int i, int n) {
    events.push_back(std::string(what) + " " + std::to_string(i) + " " + std::to_string(n));
  }
};

using Events = std::vector<std::string>;

}  // namespace

TEST(LineBuffer, CapacityGrowsBySixteenThenByAQuarter) {
  TEditorStringList list;
  std::vector<int> capacities{list.Capacity()};
  for (int i = 0; i < 200; ++i) {
    list.Add("x");
    if (list.Capacity() != capacities.back()) capacities.push_back(list.Capacity());
  }
  EXPECT_EQ(capacities, (std::vector<int>{0, 16, 32, 48, 64, 80, 100, 125, 156, 195, 243}));
}

TEST(LineBuffer, NewLinesStartUnscannedWithoutDataAndWithAStaleLength) {
  TEditorStringList list;
  list.Add("abc");
  list.Insert(0, "");
  list.InsertEmptyLines(1, 2);
  for (int i = 0; i < list.Count(); ++i) {
    const TEditorStringRec& rec = list.Record(i);
    EXPECT_EQ(rec.Range, -1) << i;
    EXPECT_EQ(list.GetData(i), nullptr) << i;
    EXPECT_EQ(rec.ExpandedLength, -1) << i;
    EXPECT_EQ(rec.Flags, 4) << i;
  }
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"", "", "", "abc"}));
}

TEST(LineBuffer, BadIndexesFailWithTheIndexAndChangeNothing) {
  struct Case {
    const char* what;
    std::function<void(TEditorStringList&)> op;
    const char* message;
  } cases[] = {
      {"Insert below 0", [](TEditorStringList& l) { l.Insert(-1, "x"); }, "-1"},
      {"Insert past Count", [](TEditorStringList& l) { l.Insert(4, "x"); }, "4"},
      {"SetLine at Count + 1", [](TEditorStringList& l) { l.SetLine(4, "x"); }, "4"},
      {"SetLine below 0", [](TEditorStringList& l) { l.SetLine(-1, "x"); }, "-1"},
      {"SetData at Count", [](TEditorStringList& l) { l.SetData(3, &l); }, "3"},
      {"SetRange below 0", [](TEditorStringList& l) { l.SetRange(-1, 7); }, "-1"},
      {"Delete at Count", [](TEditorStringList& l) { l.Delete(3); }, "3"},
      {"DeleteLineRange at Count", [](TEditorStringList& l) { l.DeleteLineRange(3, 1); }, "3"},
      {"InsertEmptyLines past Count", [](TEditorStringList& l) { l.InsertEmptyLines(4, 1); }, "4"},
      {"InsertEmptyLines with N 0 still checks",
       [](TEditorStringList& l) { l.InsertEmptyLines(-5, 0); }, "-5"},
      {"Exchange names the second", [](TEditorStringList& l) { l.Exchange(0, 3); }, "3"},
      {"Exchange names the first", [](TEditorStringList& l) { l.Exchange(-2, 9); }, "-2"},
  };
  for (const auto& c : cases) {
    TEditorStringList list;
    Fill(list, {"a", "b", "c"});
    TEventLog log;
    log.Attach(list);
    try {
      c.op(list);
      ADD_FAILURE() << c.what << ": no error";
    } catch (const EEditorStringList& e) {
      EXPECT_EQ(e.Message(), std::string("Invalid stringlist index ") + c.message) << c.what;
    }
    EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "b", "c"})) << c.what;
    EXPECT_EQ(list.GetData(0), nullptr) << c.what;
    EXPECT_EQ(list.UpdateCount(), 0) << c.what;
    EXPECT_TRUE(log.events.empty()) << c.what;
  }
}

TEST(LineBuffer, SetLineAtCountAppendsAndInsideReplacesKeepingRangeAndData) {
  TEditorStringList list;
  TEventLog log;
  log.Attach(list);
  list.SetLine(0, "first");  // index 0 of an empty list appends
  list.SetLine(1, "second");
  int tag = 0;
  list.SetRange(0, 42);
  list.SetData(0, &tag);
  log.events.clear();
  list.SetLine(0, "changed");
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"changed", "second"}));
  EXPECT_EQ(list.GetRange(0), 42);
  EXPECT_EQ(list.GetData(0), &tag);
  EXPECT_EQ(list.Record(0).Flags, TEditorStringRec::LengthStale);
  EXPECT_EQ(log.events, (Events{"start", "rep 0 1", "end"}));
}

TEST(LineBuffer, ReadingABadIndexGivesEmptyValues) {
  TEditorStringList list;
  list.Add("a\tb");
  list.SetRange(0, 9);
  for (int bad : {-1, 1, 1000}) {
    EXPECT_EQ(list.GetLine(bad), "") << bad;
    EXPECT_TRUE(list.LineView(bad).empty()) << bad;
    EXPECT_EQ(list.GetData(bad), nullptr) << bad;
    EXPECT_EQ(list.GetRange(bad), 0) << bad;
    EXPECT_EQ(list.GetExpandedLine(bad), "") << bad;
    EXPECT_EQ(list.GetExpandedLength(bad), 0) << bad;
  }
}

TEST(LineBuffer, CapacityCannotDropBelowCount) {
  TEditorStringList list;
  Fill(list, {"a", "b", "c"});
  try {
    list.SetCapacity(2);
    ADD_FAILURE() << "no error";
  } catch (const EEditorStringList& e) {
    EXPECT_EQ(e.Message(), "Stringlist capacity cannot be smaller than count");
  }
  EXPECT_EQ(list.Capacity(), 16);
  list.SetCapacity(3);
  EXPECT_EQ(list.Capacity(), 3);
  list.Add("d");  // grows from an exact capacity by the usual rule
  EXPECT_EQ(list.Capacity(), 19);
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "b", "c", "d"}));
}

TEST(LineBuffer, EveryChangeIsReportedInsideOneUpdatePair) {
  struct Case {
    const char* what;
    std::function<void(TEditorStringList&)> op;
    Events expected;
    std::vector<std::string> lines;
  } cases[] = {
      {"Add",
       [](TEditorStringList& l) { l.Add("d"); },
       {"start", "ins 3 1", "end"},
       {"a", "b", "c", "d"}},
      {"Insert",
       [](TEditorStringList& l) { l.Insert(1, "x"); },
       {"start", "ins 1 1", "end"},
       {"a", "x", "b", "c"}},
      {"Delete",
       [](TEditorStringList& l) { l.Delete(0); },
       {"start", "del 0 1", "end"},
       {"b", "c"}},
      {"DeleteLineRange cut at the end",
       [](TEditorStringList& l) { l.DeleteLineRange(1, 100); },
       {"start", "del 1 2", "end"},
       {"a"}},
      {"DeleteLineRange of nothing",
       [](TEditorStringList& l) { l.DeleteLineRange(99, 0); },
       {},
       {"a", "b", "c"}},
      {"InsertEmptyLines",
       [](TEditorStringList& l) { l.InsertEmptyLines(1, 2); },
       {"start", "ins 1 2", "end"},
       {"a", "", "", "b", "c"}},
      {"InsertEmptyLines at the end",
       [](TEditorStringList& l) { l.InsertEmptyLines(3, 1); },
       {"start", "ins 3 1", "end"},
       {"a", "b", "c", ""}},
      {"InsertEmptyLines of nothing",
       [](TEditorStringList& l) { l.InsertEmptyLines(0, -3); },
       {},
       {"a", "b", "c"}},
      {"SetRange",
       [](TEditorStringList& l) { l.SetRange(2, 5); },
       {"start", "end"},
       {"a", "b", "c"}},
      {"Exchange",
       [](TEditorStringList& l) { l.Exchange(0, 2); },
       {"start", "end"},
       {"c", "b", "a"}},
      {"Clear", [](TEditorStringList& l) { l.Clear(); }, {"start", "cleared", "end"}, {}},
      {"Nested updates give one pair",
       [](TEditorStringList& l) {
         l.BeginUpdate();
         l.Add("d");
         l.BeginUpdate();
         l.Delete(0);
         l.EndUpdate();
         l.SetLine(0, "B");
         l.EndUpdate();
       },
       {"start", "ins 3 1", "del 0 1", "rep 0 1", "end"},
       {"B", "c", "d"}},
      {"SetText",
       [](TEditorStringList& l) { l.SetText("x\r\ny\n"); },
       {"start", "cleared", "ins 0 1", "ins 1 1", "end"},
       {"x", "y"}},
  };
  for (const auto& c : cases) {
    TEditorStringList list;
    Fill(list, {"a", "b", "c"});
    TEventLog log;
    log.Attach(list);
    c.op(list);
    EXPECT_EQ(log.events, c.expected) << c.what;
    EXPECT_EQ(LinesOf(list), c.lines) << c.what;
    EXPECT_EQ(list.UpdateCount(), 0) << c.what;
  }
}

TEST(LineBuffer, ClearingAnEmptyListSaysNothing) {
  TEditorStringList list;
  TEventLog log;
  log.Attach(list);
  list.Clear();
  EXPECT_TRUE(log.events.empty());
  list.Add("a");
  list.Clear();
  EXPECT_EQ(list.Capacity(), 0);
  EXPECT_EQ(list.Count(), 0);
}

TEST(LineBuffer, AttachedDataFollowsItsLine) {
  TEditorStringList list;
  Fill(list, {"a", "b", "c", "d"});
  int x = 0, y = 0;
  list.SetData(1, &x);
  list.SetData(3, &y);
  list.Insert(0, "new");        // b -> 2, d -> 4
  list.InsertEmptyLines(3, 2);  // d -> 6
  list.Delete(0);               // b -> 1, d -> 5
  list.DeleteLineRange(2, 2);   // d -> 3
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(list.GetData(1), &x);
  EXPECT_EQ(list.GetData(3), &y);
  list.Exchange(1, 3);
  EXPECT_EQ(list.GetData(1), &y);
  EXPECT_EQ(list.GetData(3), &x);
  EXPECT_EQ(list.GetData(0), nullptr);
  EXPECT_EQ(list.GetData(2), nullptr);
}

TEST(LineBuffer, AppendLinesCopiesTextAndDataWithOneNotification) {
  TEditorStringList source;
  Fill(source, {"one", "two", "three"});
  int tag = 0;
  source.SetData(2, &tag);
  TEditorStringList list;
  Fill(list, {"a"});
  TEventLog log;
  log.Attach(list);
  list.AppendLines(source);
  EXPECT_EQ(log.events, (Events{"start", "ins 1 3", "end"}));
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{"a", "one", "two", "three"}));
  EXPECT_EQ(list.GetData(3), &tag);
  EXPECT_EQ(list.GetData(1), nullptr);
  source.SetLine(0, "changed");  // a copy, not a shared line
  EXPECT_EQ(list.GetLine(1), "one");

  // Capacity: (Count + n + 15) rounded down to a multiple of 16.
  TEditorStringList big;
  std::vector<std::string> twenty(20, "x");
  big.AppendLines(twenty);
  EXPECT_EQ(big.Capacity(), 32);
  big.AppendLines(big);  // appending a list to itself doubles it
  EXPECT_EQ(big.Count(), 40);
  EXPECT_EQ(big.Capacity(), 48);
  EXPECT_EQ(big.GetLine(39), "x");

  log.events.clear();
  list.AppendLines(TEditorStringList());
  EXPECT_TRUE(log.events.empty());
}

TEST(LineBuffer, GetTextJoinsWithCrLfWithoutATrailingBreak) {
  struct Case {
    std::vector<std::string> lines;
    std::string text;
  } cases[] = {
      {{}, ""}, {{""}, ""}, {{"", ""}, "\r\n"}, {{"a", "b"}, "a\r\nb"}, {{"a", ""}, "a\r\n"},
  };
  for (const auto& c : cases) {
    TEditorStringList list;
    Fill(list, c.lines);
    EXPECT_EQ(list.GetText(), c.text);
  }
}

TEST(LineBuffer, ALineCanBeSetFromItsOwnText) {
  TEditorStringList list;
  list.LoadFromBuffer("a long line that lives in the loaded block\nsecond");
  list.SetLine(0, list.LineView(0).substr(2));
  list.Insert(0, list.LineView(1));
  list.SetLine(2, list.LineView(2));
  EXPECT_EQ(LinesOf(list), (std::vector<std::string>{
                               "second", "long line that lives in the loaded block", "second"}));
  list.SetText(list.GetText());
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.GetLine(1), "long line that lives in the loaded block");
}

TEST(LineBuffer, AFailingHandlerStillClosesTheUpdate) {
  TEditorStringList list;
  int ended = 0;
  list.OnUpdateEnded = [&](TEditorStringList*) { ++ended; };
  list.OnLinesInserted = [](TEditorStringList*, int, int) { throw std::runtime_error("handler"); };
  EXPECT_THROW(list.Add("a"), std::runtime_error);
  EXPECT_EQ(list.UpdateCount(), 0);
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(list.Count(), 1);
}

TEST(LineBuffer, DestroyingTheListNotifiesNobody) {
  bool called = false;
  {
    TEditorStringList list;
    Fill(list, {"a", "b"});
    list.OnUpdateStarted = [&](TEditorStringList*) { called = true; };
    list.OnUpdateEnded = [&](TEditorStringList*) { called = true; };
    list.OnLinesCleared = [&](TEditorStringList*) { called = true; };
    list.OnLinesDeleted = [&](TEditorStringList*, int, int) { called = true; };
  }
  EXPECT_FALSE(called);
}
