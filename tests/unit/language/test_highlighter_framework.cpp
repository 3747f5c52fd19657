#include <gtest/gtest.h>

#include <stdexcept>

#include "language/TtlHighlighter.h"
#include "platform/Exception.h"
#include "support/MemoryRegistry.h"

namespace {

// A second kind of highlighter, to check what is shared between classes.
class TPlainHighlighter : public TCustomHighlighter {
 public:
  explicit TPlainHighlighter(std::vector<std::string> names) {
    for (const auto& name : names) AddAttribute(std::make_unique<THighlighterAttributes>(name));
    SetAttributesOnChange([this](THighlighterAttributes* a) { DefHighlightChange(a); });
    Loaded();
  }
  void Add(const std::string& name) {
    AddAttribute(std::make_unique<THighlighterAttributes>(name));
  }
  THighlighterAttributes* Find(const std::string& name) const {
    for (int i = 0; i < AttributeCount(); ++i) {
      if (AttributeAt(i)->Name() == name) return AttributeAt(i);
    }
    return nullptr;
  }
  THighlighterAttributes* DefaultAttribute(int) const override { return nullptr; }
  void SetLineText(std::string_view text, int) override { length_ = static_cast<int>(text.size()); }
  void NextToken() override { ++calls_; }
  bool AtLineEnd() const override { return calls_ >= length_; }
  std::string TokenText() const override { return std::string(); }
  int TokenStart() const override { return calls_; }
  int TokenKind() const override { return 0; }
  THighlighterAttributes* TokenAttribute() const override { return nullptr; }
  int calls_ = 0;
  int length_ = 0;
};

// Records every change notification it receives.
struct Listener {
  std::vector<std::pair<std::string, THighlighterAttributes*>> heard;
  std::string name;
  void Changed(THighlighterAttributes* sender) { heard.emplace_back(name, sender); }
  THighlighterChangeHook Hook() {
    return MakeHighlighterChangeHook<Listener, &Listener::Changed>(this);
  }
};

TEST(HighlighterAttributes, OnlyRealChangesNotify) {
  THighlighterAttributes a("Comment");
  EXPECT_EQ(a.Background(), clNone);
  EXPECT_EQ(a.Foreground(), clNone);
  EXPECT_EQ(a.Style(), 0);
  std::vector<THighlighterAttributes*> seen;
  a.OnChange = [&](THighlighterAttributes* s) { seen.push_back(s); };
  a.SetForeground(clNone);
  a.SetBackground(clNone);
  a.SetStyle(0);
  EXPECT_TRUE(seen.empty());
  a.SetForeground(0x123456);
  a.SetForeground(0x123456);
  a.SetBackground(clWindow);
  a.SetStyle(fsBold | fsUnderline);
  EXPECT_EQ(seen, (std::vector<THighlighterAttributes*>{&a, &a, &a}));
  EXPECT_EQ(a.Foreground(), 0x123456u);
  EXPECT_EQ(a.Background(), clWindow);
  EXPECT_EQ(a.Style(), fsBold | fsUnderline);
}

TEST(HighlighterAttributes, AssignCopiesNameColoursAndStyleWithOneNotification) {
  THighlighterAttributes from("From");
  from.SetForeground(1);
  from.SetBackground(2);
  from.SetStyle(fsItalic);
  THighlighterAttributes to("To");
  int notified = 0;
  to.OnChange = [&](THighlighterAttributes*) { ++notified; };
  to.Assign(from);
  EXPECT_EQ(to.Name(), "From");
  EXPECT_EQ(to.Foreground(), 1u);
  EXPECT_EQ(to.Background(), 2u);
  EXPECT_EQ(to.Style(), fsItalic);
  EXPECT_EQ(notified, 1);
  to.AssignColorAndStyle(from);
  EXPECT_EQ(notified, 1);
}

TEST(CustomHighlighter, AttributesAreListedByNameIgnoringCase) {
  TPlainHighlighter hl({"beta", "Alpha", "gamma", "Delta"});
  ASSERT_EQ(hl.AttributeCount(), 4);
  EXPECT_EQ(hl.AttributeAt(0)->Name(), "Alpha");
  EXPECT_EQ(hl.AttributeAt(1)->Name(), "beta");
  EXPECT_EQ(hl.AttributeAt(2)->Name(), "Delta");
  EXPECT_EQ(hl.AttributeAt(3)->Name(), "gamma");
  EXPECT_EQ(hl.AttributeAt(-1), nullptr);
  EXPECT_EQ(hl.AttributeAt(4), nullptr);
  EXPECT_THROW(hl.Add("BETA"), Exception);
  EXPECT_THROW(hl.Add("beta"), Exception);
  EXPECT_EQ(hl.AttributeCount(), 4);
}

TEST(CustomHighlighter, BaseDefaultsDescribeNoLanguage) {
  TPlainHighlighter hl({});
  EXPECT_EQ(hl.LanguageName(), "<Unknown>");
  EXPECT_EQ(hl.SampleSource(), "");
  hl.SetSampleSource("ignored");
  EXPECT_EQ(hl.SampleSource(), "");
  const THighlighterCharSet ident = hl.IdentChars();
  EXPECT_EQ(ident.count(), 223u);
  EXPECT_FALSE(ident.test(32));
  EXPECT_TRUE(ident.test(33));
  EXPECT_TRUE(ident.test(255));
  const THighlighterCharSet breaks = hl.WordBreakChars();
  EXPECT_EQ(breaks.count(), 22u);
  for (unsigned char c : std::string("#$%&<>@`~ _aZ0")) EXPECT_FALSE(breaks.test(c)) << c;
  for (unsigned char c : std::string("!\"'()*+,-./:;=?[\\]^{|}")) EXPECT_TRUE(breaks.test(c)) << c;
  hl.SetLineText("abc", 0);
  hl.ScanToLineEnd();
  EXPECT_EQ(hl.calls_, 3);
}

TEST(CustomHighlighter, ChangeHooksRunInOrderWithTheSender) {
  TTtlHighlighter hl;
  Listener a{{}, "a"}, b{{}, "b"};
  hl.HookAttributeChange(a.Hook());
  hl.HookAttributeChange(b.Hook());
  hl.HookAttributeChange(a.Hook());
  std::vector<std::pair<std::string, THighlighterAttributes*>> order;
  hl.HookAttributeChange({[](void* ctx, THighlighterAttributes* s) {
                            static_cast<decltype(order)*>(ctx)->emplace_back("x", s);
                          },
                          &order});
  hl.StringAttri()->SetForeground(0x010203);
  EXPECT_EQ(a.heard, (decltype(a.heard){{"a", hl.StringAttri()}, {"a", hl.StringAttri()}}));
  EXPECT_EQ(b.heard, (decltype(b.heard){{"b", hl.StringAttri()}}));
  EXPECT_EQ(order.size(), 1u);

  // Unhooking removes every equal hook; the others stay in place.
  hl.UnhookAttributeChange(a.Hook());
  a.heard.clear();
  b.heard.clear();
  hl.KeyAttri()->SetStyle(0);
  EXPECT_TRUE(a.heard.empty());
  EXPECT_EQ(b.heard, (decltype(b.heard){{"b", hl.KeyAttri()}}));
  EXPECT_EQ(order.size(), 2u);
}

TEST(CustomHighlighter, AHookThatThrowsStopsTheLaterHooks) {
  TTtlHighlighter hl;
  Listener first{{}, "first"}, last{{}, "last"};
  hl.HookAttributeChange(first.Hook());
  hl.HookAttributeChange(
      {[](void*, THighlighterAttributes*) { throw std::runtime_error("boom"); }, nullptr});
  hl.HookAttributeChange(last.Hook());
  EXPECT_THROW(hl.CommentAttri()->SetStyle(fsBold), std::runtime_error);
  EXPECT_EQ(first.heard.size(), 1u);
  EXPECT_TRUE(last.heard.empty());
  // The value itself was stored before the notification.
  EXPECT_EQ(hl.CommentAttri()->Style(), fsBold);
}

TEST(CustomHighlighter, EnabledChangesNotifyWithoutSender) {
  TTtlHighlighter hl;
  Listener l{{}, "l"};
  hl.HookAttributeChange(l.Hook());
  hl.SetEnabled(true);
  EXPECT_TRUE(l.heard.empty());
  hl.SetEnabled(false);
  EXPECT_FALSE(hl.Enabled());
  hl.SetEnabled(false);
  hl.SetEnabled(true);
  EXPECT_EQ(l.heard, (decltype(l.heard){{"l", nullptr}, {"l", nullptr}}));
}

TEST(CustomHighlighter, AssignCopiesOnlyExactlyMatchingAttributes) {
  TPlainHighlighter source({"Comment", "string", "Extra"});
  source.Find("Comment")->SetForeground(0x111111);
  source.Find("string")->SetForeground(0x222222);
  source.SetDefaultFilter("Plain (*.txt)|*.txt");
  THighlighterCharSet breaks;
  breaks.set('!');
  source.SetWordBreakChars(breaks);
  source.SetEnabled(false);

  TTtlHighlighter target;
  Listener l{{}, "l"};
  target.HookAttributeChange(l.Hook());
  target.Assign(source);
  EXPECT_EQ(target.CommentAttri()->Foreground(), 0x111111u);
  EXPECT_EQ(target.StringAttri()->Foreground(), 0x800080u);  // "string" is not "String"
  EXPECT_EQ(target.DefaultFilter(), "Plain (*.txt)|*.txt");
  EXPECT_EQ(target.WordBreakChars(), breaks);
  EXPECT_FALSE(target.Enabled());
  EXPECT_EQ(target.AttributeCount(), 9);
  EXPECT_EQ(l.heard, (decltype(l.heard){{"l", target.CommentAttri()}, {"l", nullptr}}));
}

TEST(CustomHighlighter, AssignBetweenMacroHighlightersCopiesEveryAttribute) {
  TTtlHighlighter a, b;
  for (int i = 0; i < a.AttributeCount(); ++i) {
    a.AttributeAt(i)->SetForeground(static_cast<TColor>(0x100 + i));
    a.AttributeAt(i)->SetBackground(static_cast<TColor>(0x200 + i));
    a.AttributeAt(i)->SetStyle(static_cast<TFontStyles>(i % 16));
  }
  b.Assign(a);
  for (int i = 0; i < b.AttributeCount(); ++i) {
    EXPECT_EQ(b.AttributeAt(i)->Foreground(), static_cast<TColor>(0x100 + i));
    EXPECT_EQ(b.AttributeAt(i)->Background(), static_cast<TColor>(0x200 + i));
    EXPECT_EQ(b.AttributeAt(i)->Style(), i % 16);
  }
}

TEST(CustomHighlighter, UsersAreToldWhenItIsDestroyed) {
  TCustomHighlighter* seen = nullptr;
  int other_calls = 0;
  int owner = 0, other = 0;
  auto hl = std::make_unique<TTtlHighlighter>();
  TCustomHighlighter* raw = hl.get();
  hl->AddFreeNotification(&owner, [&](TCustomHighlighter* h) { seen = h; });
  hl->AddFreeNotification(&other, [&](TCustomHighlighter*) { ++other_calls; });
  hl->RemoveFreeNotification(&other);
  hl.reset();
  EXPECT_EQ(seen, raw);
  EXPECT_EQ(other_calls, 0);
}

// ---------------------------------------------------------------- registry

const char kKey[] = "Software\\Brevik\\Quillon";

TEST(HighlighterPersistence, StoresEveryAttributeUnderItsNamedSubkey) {
  TMemoryRegistry registry;
  TTtlHighlighter hl;
  hl.CommentAttri()->SetBackground(clWindow);
  hl.SymbolAttri()->SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
  ASSERT_TRUE(hl.StoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));

  auto key = registry.Open(TRegistryRoot::CurrentUser, kKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->SubKeyNames(),
            (std::vector<std::string>{"Comment", "Labels", "Macro", "Space", "String", "Symbol",
                                      "SysVars", "Text", "VantrelVars"}));
  struct Case {
    const char* name;
    std::int32_t background, foreground, style;
  } cases[] = {
      {"Comment", static_cast<std::int32_t>(0xFF000005), 0x008000, 2},
      {"Macro", 0x1FFFFFFF, 0x808000, 0},
      {"Space", 0x1FFFFFFF, 0x1FFFFFFF, 0},
      {"Symbol", 0x1FFFFFFF, 0xFF00FF, 15},
      {"Text", 0x1FFFFFFF, 0x800000, 1},
  };
  for (const auto& c : cases) {
    auto sub = key->OpenKey(c.name, false);
    ASSERT_TRUE(sub) << c.name;
    EXPECT_EQ(sub->ValueNames(), (std::vector<std::string>{"Background", "Foreground", "Style"}));
    EXPECT_EQ(sub->ReadInteger("Background"), c.background) << c.name;
    EXPECT_EQ(sub->ReadInteger("Foreground"), c.foreground) << c.name;
    EXPECT_EQ(sub->ReadInteger("Style"), c.style) << c.name;
  }
}

TEST(HighlighterPersistence, RestoreBringsBackWhatWasStored) {
  TMemoryRegistry registry;
  TTtlHighlighter saved;
  for (int i = 0; i < saved.AttributeCount(); ++i) {
    saved.AttributeAt(i)->SetForeground(static_cast<TColor>(0x10203 * (i + 1)));
    saved.AttributeAt(i)->SetBackground(i % 2 ? clNone : static_cast<TColor>(0xFF00000D));
    saved.AttributeAt(i)->SetStyle(static_cast<TFontStyles>((i * 5) % 16));
  }
  ASSERT_TRUE(saved.StoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  TTtlHighlighter restored;
  Listener l{{}, "l"};
  restored.HookAttributeChange(l.Hook());
  ASSERT_TRUE(restored.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  for (int i = 0; i < saved.AttributeCount(); ++i) {
    EXPECT_EQ(restored.AttributeAt(i)->Foreground(), saved.AttributeAt(i)->Foreground()) << i;
    EXPECT_EQ(restored.AttributeAt(i)->Background(), saved.AttributeAt(i)->Background()) << i;
    EXPECT_EQ(restored.AttributeAt(i)->Style(), saved.AttributeAt(i)->Style()) << i;
  }
  // Restoring the same values again changes nothing and tells nobody.
  l.heard.clear();
  ASSERT_TRUE(restored.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  EXPECT_TRUE(l.heard.empty());
}

TEST(HighlighterPersistence, StoredStyleMasksKeepOnlyTheFourStyleBits) {
  struct Case {
    std::int32_t stored;
    TFontStyles style;
  } cases[] = {{0, 0},   {1, fsBold}, {2, fsItalic}, {4, fsUnderline}, {8, fsStrikeOut},
               {15, 15}, {16, 0},     {17, fsBold},  {-1, 15},         {0x7FFFFFF4, fsUnderline}};
  for (const auto& c : cases) {
    TMemoryRegistry registry;
    auto key = registry.Open(TRegistryRoot::CurrentUser, std::string(kKey) + "\\Comment", true);
    key->WriteInteger("Style", c.stored);
    TTtlHighlighter hl;
    hl.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kKey);
    EXPECT_EQ(hl.CommentAttri()->Style(), c.style) << c.stored;
    // Values not stored keep their defaults.
    EXPECT_EQ(hl.CommentAttri()->Foreground(), 0x008000u);
  }
}

TEST(HighlighterPersistence, MissingOrMistypedValuesKeepTheCurrentLook) {
  TMemoryRegistry registry;
  auto key = registry.Open(TRegistryRoot::CurrentUser, kKey, true);
  auto text = key->OpenKey("Text", true);
  text->WriteString("Foreground", "255");
  text->WriteBinary("Background", std::string("\x01\x02\x03\x04", 4));
  text->WriteInteger("Style", 2);
  auto labels = key->OpenKey("labels", true);  // names are not case-sensitive
  labels->WriteInteger("Foreground", 0x00FFFF);

  TTtlHighlighter hl;
  // Seven attributes have no subkey at all.
  EXPECT_FALSE(hl.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  EXPECT_EQ(hl.KeyAttri()->Foreground(), 0x800000u);
  EXPECT_EQ(hl.KeyAttri()->Background(), clNone);
  EXPECT_EQ(hl.KeyAttri()->Style(), fsItalic);
  EXPECT_EQ(hl.LabelsAttri()->Foreground(), 0x00FFFFu);
  EXPECT_EQ(hl.StringAttri()->Foreground(), 0x800080u);
}

TEST(HighlighterPersistence, AMissingKeyChangesNothing) {
  TMemoryRegistry registry;
  TTtlHighlighter hl;
  Listener l{{}, "l"};
  hl.HookAttributeChange(l.Hook());
  EXPECT_FALSE(hl.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  EXPECT_TRUE(l.heard.empty());
  EXPECT_EQ(registry.Open(TRegistryRoot::CurrentUser, kKey, false), nullptr);
}

TEST(HighlighterPersistence, AStoreThatCannotBeWrittenReportsFailure) {
  TMemoryRegistry registry;
  registry.SetReadOnly(true);
  TTtlHighlighter hl;
  EXPECT_FALSE(hl.StoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  EXPECT_EQ(registry.WriteCount(), 0);

  EXPECT_EQ(registry.Open(TRegistryRoot::CurrentUser, kKey, false), nullptr);
}

TEST(HighlighterPersistence, AnAttributeThatCannotBeStoredDoesNotStopTheOthers) {
  TMemoryRegistry registry;
  registry.DenyAccess(TRegistryRoot::CurrentUser, std::string(kKey) + "\\Macro");
  TTtlHighlighter hl;
  EXPECT_FALSE(hl.StoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
  auto key = registry.Open(TRegistryRoot::CurrentUser, kKey, false);
  for (const char* name : {"Comment", "Labels", "Space", "VantrelVars"}) {
    auto sub = key->OpenKey(name, false);
    ASSERT_TRUE(sub) << name;
    EXPECT_TRUE(sub->ReadInteger("Foreground").has_value()) << name;
  }
  EXPECT_EQ(registry.WriteCount(), 8 * 3);
  EXPECT_FALSE(hl.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kKey));
}

}  // namespace
