#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/SettingsStore.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "platform/Registry.h"
#include "support/FakeEditorHost.h"
#include "support/MemoryRegistry.h"

namespace {

TEST(SettingsStore, ParametersRoundTripAndWrongTypesReadAsEmpty) {
  TMemoryRegistry registry;
  EXPECT_EQ(LoadParams(registry).param2, "");  // no key yet
  EXPECT_FALSE(registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false))
      << "reading does not create the key";
  SaveParams(registry, {"host 22", ""});
  const TMacroParams read = LoadParams(registry);
  EXPECT_EQ(read.param2, "host 22");
  EXPECT_EQ(read.param3, "");
  registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true)->WriteInteger("Param3", 7);
  EXPECT_EQ(LoadParams(registry).param3, "");
}

// ---- the values the settings window edits

constexpr char kDefaultTemplate[] = "C:\\TT\\ttmacro.tpl";

std::unique_ptr<IRegistryKey> SettingsKey(TMemoryRegistry& registry) {
  return registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true);
}

// The preview and the main editor with their highlighters, as the settings
// window and the main window hold them.
struct Editors {
  TFakeEditorHost preview_host;
  TFakeEditorHost main_host;
  TEditorMemo preview;
  TEditorMemo main_editor;
  TTtlHighlighter preview_highlighter;
  TTtlHighlighter main_highlighter;
  Editors() {
    preview.SetHost(&preview_host);
    main_editor.SetHost(&main_host);
    preview.SetHighlighter(&preview_highlighter);
    main_editor.SetHighlighter(&main_highlighter);
    preview.SetOptions(TEditorOptions{eoAutoIndent, eoNoCaret, eoKeepCaretX});
    main_editor.SetText("keep me\r\n\tand me");
  }
  ~Editors() {
    preview.SetHost(nullptr);
    main_editor.SetHost(nullptr);
  }
  TSettingsEditors Parts() { return {preview, preview_highlighter, main_editor, main_highlighter}; }
};

TEST(EditorSettings, AFirstStartGetsTheDefaults) {
  TMemoryRegistry registry;
  Editors e;
  const TEditorSettings s =
      LoadEditorSettings(registry, e.Parts(), DefaultEditorSettings(kDefaultTemplate, false));
  EXPECT_EQ(s.template_file, kDefaultTemplate);
  EXPECT_EQ(s.print_preview_scale, 4);
  EXPECT_EQ(s.tab_width_index, 2);
  EXPECT_EQ(s.scp_width, 600);
  EXPECT_FALSE(s.tabs_to_spaces);
  EXPECT_FALSE(s.smart_tabs);
  EXPECT_TRUE(s.check_macros);
  const TFont& font = e.main_editor.Font();
  EXPECT_EQ(font.Name, "Courier New");
  EXPECT_EQ(font.Size(), 9);
  EXPECT_EQ(font.Style, 0);
  EXPECT_EQ(e.main_editor.Color(), 0xFF000005u);
  EXPECT_EQ(e.main_editor.ActiveLineColor(), 0x0000FFFFu);
  EXPECT_EQ(e.main_editor.SelectedColor().Foreground(), 0xFF00000Eu);
  EXPECT_EQ(e.main_editor.SelectedColor().Background(), 0xFF00000Du);
  EXPECT_EQ(e.main_editor.TabWidth(), 4);
  EXPECT_TRUE(e.main_editor.WantTabs());
  EXPECT_EQ(e.main_editor.Text(), "keep me\r\n\tand me") << "the document is not touched";
  EXPECT_FALSE(registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false))
      << "loading does not create the key";
  EXPECT_EQ(registry.WriteCount(), 0);
}

TEST(EditorSettings, StoredValuesReachTheMainEditorAndBadOnesKeepTheirDefaults) {
  struct Case {
    const char* what;
    std::function<void(IRegistryKey&)> store;
    std::function<void(const TEditorSettings&, TEditorMemo& main_editor)> check;
  };
  const std::vector<Case> cases = {
      {"SpacePerTAB 6 gives tab width 8", [](IRegistryKey& k) { k.WriteInteger("SpacePerTAB", 6); },
       [](const TEditorSettings& s, TEditorMemo& m) {
         EXPECT_EQ(s.tab_width_index, 6);
         EXPECT_EQ(m.TabWidth(), 8);
       }},
      {"SpacePerTAB 30 is the last entry",
       [](IRegistryKey& k) { k.WriteInteger("SpacePerTAB", 30); },
       [](const TEditorSettings& s, TEditorMemo& m) {
         EXPECT_EQ(s.tab_width_index, 30);
         EXPECT_EQ(m.TabWidth(), 32);
       }},
      {"SpacePerTAB 31 selects nothing", [](IRegistryKey& k) { k.WriteInteger("SpacePerTAB", 31); },
       [](const TEditorSettings& s, TEditorMemo& m) {
         EXPECT_EQ(s.tab_width_index, -1);
         EXPECT_EQ(m.TabWidth(), 1);
       }},
      {"SpacePerTAB -5 selects nothing", [](IRegistryKey& k) { k.WriteInteger("SpacePerTAB", -5); },
       [](const TEditorSettings& s, TEditorMemo& m) {
         EXPECT_EQ(s.tab_width_index, -1);
         EXPECT_EQ(m.TabWidth(), 1);
       }},
      {"Arial 12 pt",
       [](IRegistryKey& k) {
         k.WriteString("FontName", "Arial");
         k.WriteInteger("FontSize", 12);
       },
       [](const TEditorSettings&, TEditorMemo& m) {
         EXPECT_EQ(m.Font().Name, "Arial");
         EXPECT_EQ(m.Font().Size(), 12);
       }},
      {"a background stored as a string",
       [](IRegistryKey& k) {
         k.WriteString("EditorBgColor", "255");
         k.WriteInteger("EditorActLineColor", 0x00C0FFEE);
       },
       [](const TEditorSettings&, TEditorMemo& m) {
         EXPECT_EQ(m.Color(), clWindow);
         EXPECT_EQ(m.ActiveLineColor(), 0x00C0FFEEu) << "the next value is still read";
       }},
      {"checking macros turned off", [](IRegistryKey& k) { k.WriteInteger("CheckMacros", 0); },
       [](const TEditorSettings& s, TEditorMemo&) { EXPECT_FALSE(s.check_macros); }},
      {"checking stored as a string stays on",
       [](IRegistryKey& k) { k.WriteString("CheckMacros", "0"); },
       [](const TEditorSettings& s, TEditorMemo&) { EXPECT_TRUE(s.check_macros); }},
      {"an empty template path", [](IRegistryKey& k) { k.WriteString("TemplateFile", ""); },
       [](const TEditorSettings& s, TEditorMemo&) {
         EXPECT_EQ(s.template_file, kDefaultTemplate);
       }},
      {"a font name stored as a number", [](IRegistryKey& k) { k.WriteInteger("FontName", 3); },
       [](const TEditorSettings&, TEditorMemo& m) { EXPECT_EQ(m.Font().Name, "Courier New"); }},
      {"style and character set keep their own bits",
       [](IRegistryKey& k) {
         k.WriteInteger("FontStyle", 0x13);
         k.WriteInteger("FontCharSet", 0x1CC);
       },
       [](const TEditorSettings& s, TEditorMemo& m) {
         EXPECT_EQ(m.Font().Style, fsBold | fsItalic);
         EXPECT_EQ(s.font_charset, 0xCC);
         EXPECT_EQ(m.Font().CharSet, 0xCC) << "the editor's font is made with it";
       }},
      {"selection colours, tabs and width",
       [](IRegistryKey& k) {
         k.WriteInteger("EditorSelectionForeground", 0x00FFFFFF);
         k.WriteInteger("EditorSelectionBackground", 0x00800000);
         k.WriteInteger("TAB2Space", 1);
         k.WriteInteger("SmartTabs", 0);
         k.WriteInteger("SCPWidth", 420);
         k.WriteInteger("PrintPreviewScale", 0);
       },
       [](const TEditorSettings& s, TEditorMemo& m) {
         EXPECT_EQ(m.SelectedColor().Foreground(), 0x00FFFFFFu);
         EXPECT_EQ(m.SelectedColor().Background(), 0x00800000u);
         EXPECT_TRUE(m.Options().Contains(eoTabsToSpaces));
         EXPECT_FALSE(m.Options().Contains(eoSmartTabs));
         EXPECT_EQ(s.scp_width, 420);
         EXPECT_EQ(s.print_preview_scale, 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TMemoryRegistry registry;
    c.store(*SettingsKey(registry));
    Editors e;
    const TEditorSettings s =
        LoadEditorSettings(registry, e.Parts(), DefaultEditorSettings(kDefaultTemplate, false));
    c.check(s, e.main_editor);
  }
}

TEST(EditorSettings, TheMainEditorTakesThePreviewsOptionsWithoutNoCaret) {
  TMemoryRegistry registry;
  SettingsKey(registry)->WriteInteger("SmartTabs", 1);
  SettingsKey(registry)->WriteInteger("ShowSpecial", 1);
  Editors e;
  LoadEditorSettings(registry, e.Parts(), DefaultEditorSettings(kDefaultTemplate, false));
  EXPECT_TRUE(e.preview.Options().Contains(eoNoCaret));
  EXPECT_EQ(e.main_editor.Options(),
            (TEditorOptions{eoAutoIndent, eoKeepCaretX, eoSmartTabs, eoShowSpecialChars}));
  EXPECT_TRUE(e.preview.WantTabs());
}

TEST(EditorSettings, ShowSpecialKeepsTheBoxStateUntilStoredAndTheToolbarFollowsIt) {
  for (bool box : {false, true}) {
    TMemoryRegistry registry;
    std::vector<bool> toolbar;
    SettingsKey(registry)->WriteInteger("TAB2Space", 1);
    TEditorSettings s = ReadEditorSettings(registry, DefaultEditorSettings("t", box),
                                           [&](bool on) { toolbar.push_back(on); });
    EXPECT_EQ(s.show_special, box);
    SettingsKey(registry)->WriteInteger("ShowSpecial", box ? 0 : 1);
    s = ReadEditorSettings(registry, DefaultEditorSettings("t", box),
                           [&](bool on) { toolbar.push_back(on); });
    EXPECT_EQ(s.show_special, !box);
    EXPECT_EQ(toolbar, (std::vector<bool>{box, !box}));
  }
}

TEST(EditorSettings, SavingWritesEveryValueInItsOrder) {
  TMemoryRegistry registry;
  Editors e;
  TEditorSettings held = DefaultEditorSettings(kDefaultTemplate, true);
  held.template_file = "  D:\\my templates.tpl ";
  held.tab_width_index = -1;
  held.smart_tabs = true;
  held.scp_width = 333;
  held.print_preview_scale = 7;
  held.last_ttl_file = "C:\\macros\\login.ttl";
  held.check_macros = false;
  TFont font = e.preview.Font();
  font.Name = "Lucida Console";
  font.SetSize(11);
  font.Style = fsBold | fsItalic;
  font.CharSet = 204;  // the font carries its character set
  e.preview.SetFont(font);
  e.preview.SetColor(0x00102030);
  e.preview.SetActiveLineColor(clNone);
  e.preview.SelectedColor().SetForeground(0x00000001);
  e.preview.SelectedColor().SetBackground(0xFF00000F);

  SaveEditorSettings(registry, e.Parts(), held);

  auto key = SettingsKey(registry);
  const std::vector<std::string> order = {"PrintPreviewScale",
                                          "LastTTLFile",
                                          "TAB2Space",
                                          "SmartTabs",
                                          "ShowSpecial",
                                          "SpacePerTAB",
                                          "TemplateFile",
                                          "FontName",
                                          "FontCharSet",
                                          "FontSize",
                                          "FontStyle",
                                          "EditorBgColor",
                                          "EditorActLineColor",
                                          "EditorSelectionForeground",
                                          "EditorSelectionBackground",
                                          "SCPWidth",
                                          "CheckMacros"};
  EXPECT_EQ(key->ValueNames(), order);
  EXPECT_EQ(key->ReadInteger("PrintPreviewScale"), 7);
  EXPECT_EQ(key->ReadString("LastTTLFile"), "C:\\macros\\login.ttl");
  EXPECT_EQ(key->ReadInteger("TAB2Space"), 0);
  EXPECT_EQ(key->ReadInteger("SmartTabs"), 1);
  EXPECT_EQ(key->ReadInteger("ShowSpecial"), 1);
  EXPECT_EQ(key->ReadInteger("SpacePerTAB"), -1);
  EXPECT_EQ(key->ReadString("TemplateFile"), "D:\\my templates.tpl");
  EXPECT_EQ(key->ReadString("FontName"), "Lucida Console");
  EXPECT_EQ(key->ReadInteger("FontCharSet"), 204);
  EXPECT_EQ(key->ReadInteger("FontSize"), 11);
  EXPECT_EQ(key->ReadInteger("FontStyle"), 3);
  EXPECT_EQ(key->ReadInteger("EditorBgColor"), 0x00102030);
  EXPECT_EQ(key->ReadInteger("EditorActLineColor"), static_cast<std::int32_t>(clNone));
  EXPECT_EQ(key->ReadInteger("EditorSelectionForeground"), 1);
  EXPECT_EQ(key->ReadInteger("EditorSelectionBackground"), static_cast<std::int32_t>(0xFF00000F));
  EXPECT_EQ(key->ReadInteger("SCPWidth"), 333);
  EXPECT_EQ(key->ReadInteger("CheckMacros"), 0);

  // and a second start reads back what was written
  Editors again;
  const TEditorSettings back =
      LoadEditorSettings(registry, again.Parts(), DefaultEditorSettings(kDefaultTemplate, false));
  EXPECT_EQ(back.template_file, "D:\\my templates.tpl");
  EXPECT_EQ(again.main_editor.Font(), e.preview.Font());
  EXPECT_EQ(again.main_editor.TabWidth(), 1);
  EXPECT_EQ(again.main_editor.ActiveLineColor(), clNone);
  EXPECT_EQ(back.scp_width, 333);
}

TEST(EditorSettings, FontSizesSurviveTheRoundTrip) {
  for (int points = 6; points <= 72; ++points) {
    TEditorSettings s;
    s.font_size = points;
    TEditorMemo preview;
    ApplySettingsToPreview(s, preview);
    EXPECT_EQ(SettingsFromPreview(preview, s).font_size, points);
  }
}

TEST(EditorSettings, AKeyThatCannotBeWrittenIsSkippedSilently) {
  TMemoryRegistry registry;
  registry.SetReadOnly(true);
  Editors e;
  EXPECT_NO_THROW(SaveEditorSettings(registry, e.Parts(), DefaultEditorSettings("t", false)));
  EXPECT_FALSE(registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false));
}

TEST(EditorSettings, VantrelVarsFollowTheIdentifierAndBothHighlightersAgreeAfterSaving) {
  TMemoryRegistry registry;
  Editors e;
  e.preview_highlighter.IdentifierAttri()->SetForeground(0x00123456);
  e.preview_highlighter.IdentifierAttri()->SetStyle(fsUnderline);
  e.preview_highlighter.CommentAttri()->SetBackground(0x00ABCDEF);
  SaveEditorSettings(registry, e.Parts(), DefaultEditorSettings("t", false));

  auto vantrel = SettingsKey(registry)->OpenKey("VantrelVars", false);
  ASSERT_TRUE(vantrel);
  EXPECT_EQ(vantrel->ReadInteger("Foreground"), 0x00123456);
  EXPECT_EQ(vantrel->ReadInteger("Style"), fsUnderline);
  for (int i = 0; i < e.main_highlighter.AttributeCount(); ++i) {
    const THighlighterAttributes* main_attribute = e.main_highlighter.AttributeAt(i);
    const THighlighterAttributes* preview_attribute = e.preview_highlighter.AttributeAt(i);
    SCOPED_TRACE(main_attribute->Name());
    EXPECT_EQ(main_attribute->Foreground(), preview_attribute->Foreground());
    EXPECT_EQ(main_attribute->Background(), preview_attribute->Background());
    EXPECT_EQ(main_attribute->Style(), preview_attribute->Style());
  }

  // A stored VantrelVars of its own is overruled by the identifier on loading.
  vantrel->WriteInteger("Foreground", 0x000000FF);
  vantrel->WriteInteger("Style", fsBold);
  Editors fresh;
  LoadEditorSettings(registry, fresh.Parts(), DefaultEditorSettings("t", false));
  for (TTtlHighlighter* h : {&fresh.main_highlighter, &fresh.preview_highlighter}) {
    EXPECT_EQ(h->VantrelVarsAttri()->Foreground(), 0x00123456u);
    EXPECT_EQ(h->VantrelVarsAttri()->Style(), fsUnderline);
    EXPECT_EQ(h->CommentAttri()->Background(), 0x00ABCDEFu);
  }
}

TEST(DetectWindowsNT, AsksTheSystemOnceAndKeepsTheStoredAnswer) {
  struct Case {
    std::optional<std::int32_t> stored;
    bool system;
    bool expected;
    int asked;
  };
  const Case cases[] = {
      {std::nullopt, true, true, 1}, {std::nullopt, false, false, 1},
      {0, true, false, 0},           {1, false, true, 0},
      {7, false, true, 0},
  };
  for (const Case& c : cases) {
    TMemoryRegistry registry;
    if (c.stored) SettingsKey(registry)->WriteInteger("NT", *c.stored);
    int asked = 0;
    auto system = [&] {
      ++asked;
      return c.system;
    };
    EXPECT_EQ(DetectWindowsNT(registry, system), c.expected);
    EXPECT_EQ(DetectWindowsNT(registry, system), c.expected) << "a second call answers the same";
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(SettingsKey(registry)->ReadBool("NT"), c.expected);
  }
  TMemoryRegistry locked;
  locked.SetReadOnly(true);
  EXPECT_TRUE(DetectWindowsNT(locked, [] { return false; })) << "no key: the answer is true";
}

}  // namespace
