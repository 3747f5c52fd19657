#include <gtest/gtest.h>

#include <random>

#include "app/WindowPlacement.h"
#include "support/MemoryRegistry.h"

namespace {

// A window being created: hidden, at its designed position 190,105, 600 x 400.
const TWindowPlacementRecord kCurrent{0, kShowCmdHide, {-1, -1}, {-1, -1}, {190, 105, 790, 505}};
constexpr int kPpi = 96;

// Values as a normal close at 96 pixels per inch leaves them.
TStoredPlacement Stored(std::optional<std::string> show_cmd = "1",
                        std::optional<std::string> norm_pos = "10,20,610,420") {
  TStoredPlacement s;
  s.Flags = "0";
  s.ShowCmd = std::move(show_cmd);
  s.PixelsPerInch = "96";
  s.MinMaxPos = "-1,-1,-1,-1";
  s.NormPos = std::move(norm_pos);
  return s;
}

TWindowPlacementRecord WithRect(TRect rect) {
  TWindowPlacementRecord r = kCurrent;
  r.NormalPosition = rect;
  return r;
}

TEST(WindowPlacement, SubkeyIsTheObjectNameAfterAT) {
  EXPECT_EQ(WindowPlacementKeyPath(kSettingsKeyPath), "Software\\Brevik\\Quillon\\TForm1");
  EXPECT_EQ(WindowPlacementKeyPath("Software\\X", "Other"), "Software\\X\\TOther");
}

TEST(WindowPlacement, NumbersAcceptOnlyWholeDecimalIntegers) {
  struct Case {
    const char* text;
    std::optional<int> expected;
  } cases[] = {
      {"0", 0},
      {"96", 96},
      {"-32000", -32000},
      {"+5", 5},
      {" 12 ", 12},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999", std::nullopt},
      {"", std::nullopt},
      {"   ", std::nullopt},
      {"-", std::nullopt},
      {"12px", std::nullopt},
      {"1 2", std::nullopt},
      {"0x10", std::nullopt},
      {"1.5", std::nullopt},
      {"abc", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsePlacementNumber(c.text), c.expected) << c.text;
}

TEST(WindowPlacement, PositionFieldsAreSplitAtCommas) {
  using F = std::array<std::optional<int>, 4>;
  struct Case {
    const char* text;
    F expected;
  } cases[] = {
      {"1,2,3,4", {1, 2, 3, 4}},
      {"-8,-8,-1,-1", {-8, -8, -1, -1}},
      {"10,20", {10, 20, std::nullopt, std::nullopt}},
      {"10,20,", {10, 20, std::nullopt, std::nullopt}},
      {"1,,3,4", {1, std::nullopt, 3, 4}},
      {"x,2,y,4", {std::nullopt, 2, std::nullopt, 4}},
      {"1,2,3,4,5,6", {1, 2, 3, 4}},
      {"", {std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
      {",,,", {std::nullopt, std::nullopt, std::nullopt, std::nullopt}},
      {"7", {7, std::nullopt, std::nullopt, std::nullopt}},
  };
  for (const auto& c : cases) EXPECT_EQ(ParsePlacementFields(c.text), c.expected) << c.text;
}

TEST(WindowPlacement, StoredShowCommandSetsTheWindowState) {
  using enum TWindowState;
  struct Case {
    std::optional<std::string> show_cmd;
    TWindowState expected;
  } cases[] = {
      {"1", wsNormal},    {"5", wsNormal},          {"9", wsNormal},     {"2", wsMinimized},
      {"6", wsMinimized}, {"7", wsMinimized},       {"3", wsMaximized},  {"0", wsNormal},
      {"4", wsNormal},    {"8", wsNormal},          {"10", wsNormal},    {"-3", wsNormal},
      {"max", wsNormal},  {std::nullopt, wsNormal}, {" 3", wsMaximized},
  };
  for (const auto& c : cases) {
    const TPlacementDecision d = DecideWindowPlacement(Stored(c.show_cmd), kCurrent, kPpi, true);
    EXPECT_EQ(d.State, c.expected) << c.show_cmd.value_or("(missing)");
    // The stored rectangle applies whatever the state.
    ASSERT_TRUE(d.Placement) << c.show_cmd.value_or("(missing)");
    EXPECT_EQ(d.Placement->NormalPosition, (TRect{10, 20, 610, 420}));
  }
}

TEST(WindowPlacement, StoredRectangleIsAppliedWithTheCurrentShowState) {
  TStoredPlacement s = Stored("3", "-4,-4,1284,1004");
  s.Flags = "2";
  s.MinMaxPos = "-32000,-32000,-8,-8";
  const TPlacementDecision d = DecideWindowPlacement(s, kCurrent, kPpi, true);
  ASSERT_TRUE(d.Placement);
  // Hidden stays hidden: the state is set separately, after creation.
  EXPECT_EQ(d.Placement->ShowCmd, kShowCmdHide);
  EXPECT_EQ(d.Placement->Flags, 2);
  EXPECT_EQ(d.Placement->MinPosition, (TPoint{-32000, -32000}));
  EXPECT_EQ(d.Placement->MaxPosition, (TPoint{-8, -8}));
  EXPECT_EQ(d.Placement->NormalPosition, (TRect{-4, -4, 1284, 1004}));
  EXPECT_EQ(d.State, TWindowState::wsMaximized);
}

TEST(WindowPlacement, WhenAStoredPlacementIsUsed) {
  struct Case {
    const char* name;
    TStoredPlacement stored;
    bool resizable;
    std::optional<TRect> expected;  // nullopt: the window keeps its placement
  };
  auto with = [](auto change) {
    TStoredPlacement s = Stored();
    change(s);
    return s;
  };
  const Case cases[] = {
      {"plain stored placement", Stored(), true, TRect{10, 20, 610, 420}},
      {"two fields: the rest keeps the current size", Stored("1", "10,20"), true,
       TRect{10, 20, 610, 420}},
      {"three fields", Stored("1", "10,20,300"), true, TRect{10, 20, 300, 420}},
      {"garbage fields fall back to the current rectangle", Stored("1", "a,20,b,c"), true,
       TRect{190, 20, 790, 420}},
      {"all fields garbage: the current rectangle", Stored("1", "x,y,z,w"), true,
       TRect{190, 105, 790, 505}},
      {"other pixels per inch", with([](auto& s) { s.PixelsPerInch = "120"; }), true, std::nullopt},
      {"pixels per inch missing", with([](auto& s) { s.PixelsPerInch.reset(); }), true,
       std::nullopt},
      {"pixels per inch not a number", with([](auto& s) { s.PixelsPerInch = "96dpi"; }), true,
       std::nullopt},
      {"no position values and flags 0", with([](auto& s) {
         s.MinMaxPos.reset();
         s.NormPos.reset();
       }),
       true, std::nullopt},
      {"no position values, flags missing", with([](auto& s) {
         s.Flags.reset();
         s.MinMaxPos = "";
         s.NormPos = "";
       }),
       true, std::nullopt},
      {"no position values but non-zero flags: the current rectangle", with([](auto& s) {
         s.Flags = "1";
         s.MinMaxPos.reset();
         s.NormPos.reset();
       }),
       true, TRect{190, 105, 790, 505}},
      {"flags not a number count as 0", with([](auto& s) {
         s.Flags = "one";
         s.MinMaxPos.reset();
         s.NormPos.reset();
       }),
       true, std::nullopt},
      {"only the positions of minimized and maximized", with([](auto& s) { s.NormPos.reset(); }),
       true, TRect{190, 105, 790, 505}},
      {"empty rectangle is not applied", Stored("1", "300,20,300,420"), true, std::nullopt},
      {"inverted rectangle is not applied", Stored("1", "400,20,300,420"), true, std::nullopt},
      {"fixed-size window keeps its size", Stored("1", "10,20,900,900"), false,
       TRect{10, 20, 610, 420}},
      {"fixed-size window: an inverted stored rectangle still moves it",
       Stored("1", "400,20,300,10"), false, TRect{400, 20, 1000, 420}},
      {"huge coordinates do not wrap", Stored("1", "2147483600,2147483600"), true,
       TRect{2147483600, 2147483600, 2147483647, 2147483647}},
  };
  for (const auto& c : cases) {
    const TPlacementDecision d = DecideWindowPlacement(c.stored, kCurrent, kPpi, c.resizable);
    if (!c.expected) {
      EXPECT_FALSE(d.Placement) << c.name;
      continue;
    }
    ASSERT_TRUE(d.Placement) << c.name;
    EXPECT_EQ(d.Placement->NormalPosition, *c.expected) << c.name;
  }
}

TEST(WindowPlacement, OtherResolutionIgnoresThePositionButKeepsMaximized) {
  const TPlacementDecision d = DecideWindowPlacement(Stored("3"), kCurrent, 120, true);
  EXPECT_FALSE(d.Placement);
  EXPECT_EQ(d.State, TWindowState::wsMaximized);
}

TEST(WindowPlacement, APlacementOnAFinerMonitorIsKeptIn96DpiUnits) {
  TWindowPlacementRecord at144;
  at144.ShowCmd = kShowCmdMaximized;
  at144.MinPosition = {-1, -1};  // none
  at144.MaxPosition = {-12, -12};
  at144.NormalPosition = {285, 158, 1299, 1013};
  const TWindowPlacementRecord stored = ConvertPlacementDpi(at144, 144, 96);
  EXPECT_EQ(stored.NormalPosition, (TRect{190, 105, 866, 675}));
  EXPECT_EQ(stored.MinPosition, (TPoint{-1, -1}));
  EXPECT_EQ(stored.MaxPosition, (TPoint{-8, -8}));
  EXPECT_EQ(stored.ShowCmd, kShowCmdMaximized);
  EXPECT_EQ(ConvertPlacementDpi(stored, 96, 144), at144);
  EXPECT_EQ(ConvertPlacementDpi(stored, 96, 96), stored);
}

TEST(WindowPlacement, FallbacksFollowTheWindowsCurrentRectangle) {
  // A window elsewhere and of another size: missing fields come from it.
  const TWindowPlacementRecord current = WithRect({50, 60, 350, 260});
  const TPlacementDecision d = DecideWindowPlacement(Stored("1", "10,20"), current, kPpi, true);
  ASSERT_TRUE(d.Placement);
  EXPECT_EQ(d.Placement->NormalPosition, (TRect{10, 20, 310, 220}));
  const TPlacementDecision top_only =
      DecideWindowPlacement(Stored("1", ",20"), current, kPpi, true);
  ASSERT_TRUE(top_only.Placement);
  EXPECT_EQ(top_only.Placement->NormalPosition, (TRect{50, 20, 350, 220}));
}

TEST(WindowPlacement, FlagsTextDecidesWhetherCurrentFlagsAreReplaced) {
  TWindowPlacementRecord current = kCurrent;
  current.Flags = 1;
  struct Case {
    std::optional<std::string> flags;
    int expected;
  } cases[] = {{"0", 0}, {"2", 2}, {std::nullopt, 1}, {"x", 1}};
  for (const auto& c : cases) {
    TStoredPlacement s = Stored();
    s.Flags = c.flags;
    const TPlacementDecision d = DecideWindowPlacement(s, current, kPpi, true);
    ASSERT_TRUE(d.Placement);
    EXPECT_EQ(d.Placement->Flags, c.expected) << c.flags.value_or("(missing)");
  }
}

TEST(WindowPlacement, MinMaxFieldsThatAreMissingBecomeZero) {
  TStoredPlacement s = Stored();
  s.MinMaxPos = "5,q";
  const TPlacementDecision d = DecideWindowPlacement(s, kCurrent, kPpi, true);
  ASSERT_TRUE(d.Placement);
  EXPECT_EQ(d.Placement->MinPosition, (TPoint{5, 0}));
  EXPECT_EQ(d.Placement->MaxPosition, (TPoint{0, 0}));
}

class WindowPlacementStore : public ::testing::Test {
 protected:
  std::string Path() const { return WindowPlacementKeyPath(kSettingsKeyPath); }
  std::unique_ptr<IRegistryKey> Subkey() {
    return registry_.Open(TRegistryRoot::CurrentUser, Path(), false);
  }
  TMemoryRegistry registry_;
};

TEST_F(WindowPlacementStore, ValuesAreTextInTheirFixedOrder) {
  TPlacementSnapshot snap;
  snap.Placement = {0, kShowCmdMaximized, {-1, -1}, {-8, -8}, {120, 80, 620, 380}};
  snap.PixelsPerInch = 96;
  snap.Visible = true;
  ASSERT_TRUE(StorePlacement(registry_, Path(), snap));
  auto key = Subkey();
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"Flags", "ShowCmd", "PixelsPerInch",
                                                         "Visible", "MinMaxPos", "NormPos"}));
  EXPECT_EQ(key->ReadString("Flags"), "0");
  EXPECT_EQ(key->ReadString("ShowCmd"), "3");
  EXPECT_EQ(key->ReadString("PixelsPerInch"), "96");
  EXPECT_EQ(key->ReadString("Visible"), "1");
  EXPECT_EQ(key->ReadString("MinMaxPos"), "-1,-1,-8,-8");
  EXPECT_EQ(key->ReadString("NormPos"), "120,80,620,380");
  EXPECT_FALSE(key->ReadInteger("ShowCmd")) << "stored as a string, not a number";
}

TEST_F(WindowPlacementStore, MinimizedProgramIsStoredAsShowState2) {
  TPlacementSnapshot snap;
  snap.Placement = {0, kShowCmdNormal, {0, 0}, {0, 0}, {1, 2, 3, 4}};
  snap.Minimized = true;
  snap.Visible = false;
  ASSERT_TRUE(StorePlacement(registry_, Path(), snap));
  EXPECT_EQ(Subkey()->ReadString("ShowCmd"), "2");
  EXPECT_EQ(Subkey()->ReadString("Visible"), "0");
}

TEST_F(WindowPlacementStore, SavedPlacementComesBackAfterARestart) {
  struct Case {
    const char* name;
    int show_cmd;
    bool minimized;
    TWindowState state;
  } cases[] = {
      {"closed normal", kShowCmdNormal, false, TWindowState::wsNormal},
      {"closed maximized", kShowCmdMaximized, false, TWindowState::wsMaximized},
      {"closed minimized", kShowCmdNormal, true, TWindowState::wsMinimized},
  };
  for (const auto& c : cases) {
    TPlacementSnapshot snap;
    snap.Placement = {0, c.show_cmd, {-1, -1}, {-1, -1}, {-30, 15, 400, 333}};
    snap.PixelsPerInch = 144;
    snap.Visible = true;
    snap.Minimized = c.minimized;
    ASSERT_TRUE(StorePlacement(registry_, Path(), snap)) << c.name;
    const auto stored = LoadStoredPlacement(registry_, Path());
    ASSERT_TRUE(stored) << c.name;
    const TPlacementDecision d = DecideWindowPlacement(*stored, kCurrent, 144, true);
    ASSERT_TRUE(d.Placement) << c.name;
    EXPECT_EQ(d.Placement->NormalPosition, (TRect{-30, 15, 400, 333})) << c.name;
    EXPECT_EQ(d.State, c.state) << c.name;
  }
}

TEST_F(WindowPlacementStore, NoSubkeyMeansNothingStoredAndNothingCreated) {
  EXPECT_FALSE(LoadStoredPlacement(registry_, Path()));
  EXPECT_FALSE(Subkey()) << "reading must not create the subkey";
}

TEST_F(WindowPlacementStore, ValuesOfAnotherTypeCountAsMissing) {
  auto key = registry_.Open(TRegistryRoot::CurrentUser, Path(), true);
  key->WriteInteger("PixelsPerInch", 96);
  key->WriteString("NormPos", "10,20,610,420");
  key->WriteString("ShowCmd", "3");
  const auto stored = LoadStoredPlacement(registry_, Path());
  ASSERT_TRUE(stored);
  EXPECT_FALSE(stored->PixelsPerInch);
  const TPlacementDecision d = DecideWindowPlacement(*stored, kCurrent, kPpi, true);
  EXPECT_FALSE(d.Placement);
  EXPECT_EQ(d.State, TWindowState::wsMaximized);
}

TEST_F(WindowPlacementStore, ReadOnlyStoreSkipsSavingQuietly) {
  TPlacementSnapshot snap;
  registry_.SetReadOnly(true);
  EXPECT_FALSE(StorePlacement(registry_, Path(), snap));
  // The key exists but refuses writes: the first failure stops the rest.
  registry_.SetReadOnly(false);
  ASSERT_TRUE(registry_.Open(TRegistryRoot::CurrentUser, Path(), true));
  registry_.SetReadOnly(true);
  const int writes_before = registry_.WriteCount();
  EXPECT_FALSE(StorePlacement(registry_, Path(), snap));
  EXPECT_LE(registry_.WriteCount() - writes_before, 1);
  EXPECT_TRUE(Subkey()->ValueNames().empty());
}

// Hand-edited or damaged values never crash the restore, and whatever is applied
// is a usable rectangle.
TEST(WindowPlacement, RandomStoredTextsGiveUsablePlacements) {
  std::mt19937 rng(20240611);
  const std::string alphabet = "0123456789,,,--+ x";
  auto text = [&] {
    std::string s(rng() % 40, ' ');
    for (char& ch : s) ch = alphabet[rng() % alphabet.size()];
    return s;
  };
  for (int i = 0; i < 5000; ++i) {
    TStoredPlacement s;
    s.Flags = text();
    s.ShowCmd = text();
    s.PixelsPerInch = (i % 2) ? std::optional<std::string>("96") : text();
    s.MinMaxPos = text();
    s.NormPos = text();
    const bool resizable = i % 3 != 0;
    const TPlacementDecision d = DecideWindowPlacement(s, kCurrent, kPpi, resizable);
    if (!d.Placement) continue;
    EXPECT_LT(d.Placement->NormalPosition.left, d.Placement->NormalPosition.right);
    EXPECT_EQ(d.Placement->ShowCmd, kShowCmdHide);
    if (!resizable) {
      EXPECT_EQ(d.Placement->NormalPosition.Height(), kCurrent.NormalPosition.Height());
    }
  }
}

}  // namespace
