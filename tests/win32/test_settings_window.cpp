// The settings window, driven as the user drives it: the real window, shown
// modally, with the steps run from a timer while it waits for the user.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/FileAssociation.h"
#include "editor/EditorMemo.h"
#include "language/TtlHighlighter.h"
#include "support/ScriptedPrompts.h"
#include "win32/PixelDialog.h"
#include "win32/RedirectedClassesRegistry.h"
#include "win32/SettingsWindow.h"
#include "win32/Win32Registry.h"
#include "win32/WineTestSupport.h"

namespace {

constexpr char kExe[] = "C:\\Quillon Test\\Quillon.exe";

std::function<void()> g_steps;
HWND g_window_to_close = nullptr;
bool g_forced_close = false;

void CALLBACK RunSteps(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  auto steps = std::move(g_steps);
  g_steps = nullptr;
  if (steps) steps();
}

// The last resort when the steps' own way of closing did not work.
void CALLBACK ForceClose(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_window_to_close && IsWindowVisible(g_window_to_close)) {
    g_forced_close = true;
    PostMessageA(g_window_to_close, WM_CLOSE, 0, 0);
  }
}

class SettingsWindowTest : public ::testing::Test {
 protected:
  TTempDir program_dir;
  TScriptedPrompts prompts;
  TRedirectedClassesRegistry registry;
  TTtlHighlighter main_ttm;
  TTtlHighlighter preview_ttm;
  TEditorMemo main_memo;
  HWND owner = nullptr;
  std::unique_ptr<TfrmSettings> form;
  int applied = 0;
  int shell_told = 0;
  std::vector<bool> toolbar_states;
  std::vector<TColor> colors_to_pick;  // the colour dialog's answers, in order
  std::vector<TColor> colors_offered;

  void SetUp() override {
    ClearSettingsKey();
    owner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                            nullptr, GetModuleHandleA(nullptr), nullptr);
    main_memo.SetHighlighter(&main_ttm);
    main_memo.SetText("; my macro\r\nsendln 'x'");
  }
  void TearDown() override {
    form.reset();
    if (owner) DestroyWindow(owner);
    PumpMessages();
    main_memo.SetHighlighter(nullptr);
    ClearSettingsKey();
  }

  void Create() {
    TSettingsWindowServices services;
    services.owner = owner;
    services.main_editor = &main_memo;
    services.main_highlighter = &main_ttm;
    services.preview_highlighter = &preview_ttm;
    services.registry = &registry;
    services.prompts = &prompts;
    services.program_dir = program_dir.Path();
    services.exe_path = kExe;
    services.associations_changed = [this] { ++shell_told; };
    services.OnApplied = [this] { ++applied; };
    services.OnShowSpecialState = [this](bool on) { toolbar_states.push_back(on); };
    form = std::make_unique<TfrmSettings>(services);
    form->ColorDialog = [this](TColor initial) -> std::optional<TColor> {
      colors_offered.push_back(initial);
      if (colors_to_pick.empty()) return std::nullopt;
      const TColor c = colors_to_pick.front();
      colors_to_pick.erase(colors_to_pick.begin());
      return c;
    };
    PumpMessages();
  }

  HWND Item(int id) { return GetDlgItem(form->Handle(), id); }
  bool Enabled(int id) { return IsWindowEnabled(Item(id)) != FALSE; }
  bool Checked(int id) { return SendMessageA(Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // A click with the mouse: the control takes the focus, then tells the window.
  void Click(int id) { SendMessageA(Item(id), BM_CLICK, 0, 0); }
  void SelectElement(int element) {
    SendMessageA(Item(TfrmSettings::idElements), LB_SETCURSEL, static_cast<WPARAM>(element), 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(TfrmSettings::idElements, LBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(TfrmSettings::idElements)));
  }
  void SelectTabWidth(int index) {
    SendMessageA(Item(TfrmSettings::idTabWidth), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(TfrmSettings::idTabWidth, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(Item(TfrmSettings::idTabWidth)));
  }
  // Opens the window with "Settings ..." and runs the steps while it waits;
  // the steps end by closing it (a forgotten close is done here, with Cancel).
  // With wait_for_close the steps close it by posted input, which is given
  // three seconds.
  int Open(std::function<void()> steps, bool toolbar_down = false, bool wait_for_close = false) {
    g_steps = [this, steps, wait_for_close] {
      steps();
      if (!wait_for_close && IsWindowVisible(form->Handle())) {
        PostMessageA(form->Handle(), WM_CLOSE, 0, 0);
      }
    };
    g_window_to_close = form->Handle();
    g_forced_close = false;
    SetTimer(nullptr, 0, 10, RunSteps);
    const UINT_PTR fallback = SetTimer(nullptr, 0, 3000, ForceClose);
    const int result = form->Execute(toolbar_down);
    KillTimer(nullptr, fallback);
    return result;
  }
  std::optional<std::int32_t> Stored(const char* name) {
    auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
    return key ? key->ReadInteger(name) : std::nullopt;
  }
};

TEST_F(SettingsWindowTest, IsAHiddenToolWindowOfTheGivenSizeWithTheDemonstrationSelected) {
  Create();
  HWND hwnd = form->Handle();
  ASSERT_TRUE(hwnd);
  EXPECT_EQ(WindowText(hwnd), "Quillonar Settings");
  EXPECT_FALSE(IsWindowVisible(hwnd));
  RECT client{};
  GetClientRect(hwnd, &client);
  EXPECT_EQ(client.right, ScaleToWindow(hwnd, 681));
  EXPECT_EQ(client.bottom, ScaleToWindow(hwnd, 357));
  const LONG_PTR ex_style = GetWindowLongPtrA(hwnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex_style & WS_EX_TOOLWINDOW);
  EXPECT_TRUE(ex_style & WS_EX_TOPMOST);
  EXPECT_EQ(WindowText(Item(TfrmSettings::idAssociate)), "Associate extention TTL with Quillonar");
  EXPECT_EQ(ComboEntries(Item(TfrmSettings::idTabWidth)).size(), 31u);
  EXPECT_EQ(ComboEntries(Item(TfrmSettings::idTabWidth)).front(), "2");
  EXPECT_EQ(ComboEntries(Item(TfrmSettings::idTabWidth)).back(), "32");
  EXPECT_EQ(ControlText(Item(TfrmSettings::idTemplatePath)), program_dir.File("ttmacro.tpl"));

  TEditorMemo& preview = form->Memo3();
  EXPECT_EQ(preview.LineCount(), 7);
  EXPECT_EQ(preview.LineText(4), "\tgoto pswd");
  EXPECT_EQ(preview.SelectedText(), "\r\nsendln 'yes'");
  EXPECT_TRUE(preview.ReadOnly());
  EXPECT_TRUE(preview.Options().Contains(eoNoCaret));
  EXPECT_FALSE(GetWindowLongPtrA(Item(TfrmSettings::idMemo3), GWL_STYLE) & WS_TABSTOP);
  EXPECT_FALSE(form->ApplyEnabled());
  // and the stored defaults already reached the main editor
  EXPECT_EQ(main_memo.ActiveLineColor(), clYellow);
  EXPECT_EQ(main_memo.TabWidth(), 4);
  EXPECT_FALSE(main_memo.Options().Contains(eoNoCaret));
  EXPECT_EQ(main_memo.Text(), "; my macro\r\nsendln 'x'");
}

TEST_F(SettingsWindowTest, SelectingAnElementEnablesItsControlsAndShowsItsStyle) {
  Create();
  for (int element = 0; element < TfrmSettings::kElementCount; ++element) {
    SCOPED_TRACE(element);
    SelectElement(element);
    const THighlighterAttributes* attribute = form->ElementAttribute(element);
    const bool styled = element <= TfrmSettings::elOperation;
    EXPECT_EQ(attribute != nullptr, styled);
    EXPECT_EQ(Enabled(TfrmSettings::idBold), styled);
    EXPECT_EQ(Enabled(TfrmSettings::idItalic), styled);
    EXPECT_EQ(Enabled(TfrmSettings::idUnderline), styled);
    const TFontStyles style = attribute ? attribute->Style() : 0;
    EXPECT_EQ(Checked(TfrmSettings::idBold), (style & fsBold) != 0);
    EXPECT_EQ(Checked(TfrmSettings::idItalic), (style & fsItalic) != 0);
    EXPECT_FALSE(Checked(TfrmSettings::idUnderline));
    EXPECT_EQ(Enabled(TfrmSettings::idChangeColor), element != TfrmSettings::elWhiteSpace);
    EXPECT_FALSE(form->ApplyEnabled()) << "showing an element's style is no edit";
  }
  SelectElement(TfrmSettings::elReservedWord);
  EXPECT_TRUE(Checked(TfrmSettings::idBold));
  SelectElement(TfrmSettings::elComment);
  EXPECT_TRUE(Checked(TfrmSettings::idItalic));
}

TEST_F(SettingsWindowTest, AStyleBoxClickChangesThePreviewAttributeAndEnablesApply) {
  Create();
  Open([&] {
    SelectElement(TfrmSettings::elComment);
    EXPECT_FALSE(form->ApplyEnabled());
    // A notification that is not the user's click changes the style only.
    SendMessageA(Item(TfrmSettings::idUnderline), BM_SETCHECK, BST_CHECKED, 0);
    SetFocus(Item(TfrmSettings::idElements));
    SendMessageA(form->Handle(), WM_COMMAND, MAKEWPARAM(TfrmSettings::idUnderline, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(TfrmSettings::idUnderline)));
    EXPECT_EQ(preview_ttm.CommentAttri()->Style(), fsItalic | fsUnderline);
    EXPECT_FALSE(form->ApplyEnabled());

    Click(TfrmSettings::idBold);
    EXPECT_EQ(preview_ttm.CommentAttri()->Style(), fsBold | fsItalic | fsUnderline);
    EXPECT_TRUE(form->ApplyEnabled());
    Click(TfrmSettings::idItalic);
    EXPECT_EQ(preview_ttm.CommentAttri()->Style(), fsBold | fsUnderline);
    EXPECT_EQ(main_ttm.CommentAttri()->Style(), fsItalic) << "the main editor waits for Apply";
    Click(IDCANCEL);
  });
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(SettingsWindowTest, ChangeColorEditsTheSelectedElementAndACancelledDialogNothing) {
  Create();
  const TColor background_before = preview_ttm.SpaceAttri()->Background();
  Open([&] {
    SelectElement(TfrmSettings::elBackground);
    Click(TfrmSettings::idChangeColor);  // nothing picked
    EXPECT_EQ(preview_ttm.SpaceAttri()->Background(), background_before);
    EXPECT_FALSE(form->ApplyEnabled());
    colors_to_pick = {Rgb(10, 20, 30), Rgb(200, 0, 0), Rgb(1, 2, 3)};
    Click(TfrmSettings::idChangeColor);
    EXPECT_EQ(preview_ttm.SpaceAttri()->Background(), Rgb(10, 20, 30));
    EXPECT_EQ(form->Memo3().ActiveLineColor(), clYellow);
    EXPECT_TRUE(form->ApplyEnabled());
    SelectElement(TfrmSettings::elString);
    Click(TfrmSettings::idChangeColor);
    EXPECT_EQ(preview_ttm.StringAttri()->Foreground(), Rgb(200, 0, 0));
    SelectElement(TfrmSettings::elSelectedBackground);
    Click(TfrmSettings::idChangeColor);
    EXPECT_EQ(form->Memo3().SelectedColor().Background(), Rgb(1, 2, 3));
    Click(IDCANCEL);
  });
  // each dialog started with the element's colour as it was then
  EXPECT_EQ(colors_offered, (std::vector<TColor>{background_before, background_before,
                                                 Rgb(128, 0, 128), clHighlight}));
}

TEST_F(SettingsWindowTest, ResetAsksFirstAndNoChangesNothingButTheSelectionAndElement) {
  Create();
  preview_ttm.KeyAttri()->SetForeground(Rgb(1, 1, 1));
  form->Memo3().SetActiveLineColor(Rgb(2, 2, 2));
  SelectElement(TfrmSettings::elLabel);
  form->Memo3().SetSelStart(0);
  prompts.AnswerMessage(mrNo);
  Click(TfrmSettings::idReset);
  ASSERT_EQ(prompts.Log().size(), 1u);
  EXPECT_EQ(prompts.Log()[0].text,
            "Are you sure you want to reset all colors and styles to their default values?");
  EXPECT_EQ(prompts.Log()[0].buttons, TMessageButtons::YesNo);
  EXPECT_EQ(preview_ttm.KeyAttri()->Foreground(), Rgb(1, 1, 1));
  EXPECT_EQ(form->Memo3().ActiveLineColor(), Rgb(2, 2, 2));
  EXPECT_EQ(form->Memo3().SelectedText(), "\r\nsendln 'yes'");
  EXPECT_EQ(form->SelectedElement(), TfrmSettings::elReservedWord);
  EXPECT_TRUE(Checked(TfrmSettings::idBold));

  prompts.AnswerMessage(mrYes);
  preview_ttm.CommentAttri()->SetStyle(fsUnderline);
  Click(TfrmSettings::idReset);
  EXPECT_EQ(preview_ttm.KeyAttri()->Foreground(), Rgb(0, 0, 128));
  EXPECT_EQ(preview_ttm.CommentAttri()->Style(), fsItalic);
  EXPECT_EQ(form->Memo3().ActiveLineColor(), clYellow);
  EXPECT_EQ(preview_ttm.SpaceAttri()->Background(), clWindow);
  EXPECT_FALSE(form->ApplyEnabled()) << "a reset is no edit";
}

TEST_F(SettingsWindowTest, CancelLeavesTheMainEditorAndTheNextOpeningShowsTheStoredColour) {
  Create();
  colors_to_pick = {Rgb(0x11, 0x22, 0x33)};
  EXPECT_EQ(Open([&] {
              SelectElement(TfrmSettings::elActiveLine);
              Click(TfrmSettings::idChangeColor);
              EXPECT_EQ(form->Memo3().ActiveLineColor(), Rgb(0x11, 0x22, 0x33));
              Click(IDCANCEL);
            }),
            IDCANCEL);
  EXPECT_EQ(main_memo.ActiveLineColor(), clYellow);
  EXPECT_EQ(Stored("EditorActLineColor"), std::nullopt);
  const int result = Open(
      [&] {
        EXPECT_EQ(form->Memo3().ActiveLineColor(), clYellow);
        EXPECT_FALSE(form->ApplyEnabled());
        PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);  // Esc is Cancel
      },
      false, true);
  EXPECT_EQ(result, IDCANCEL);
  EXPECT_FALSE(g_forced_close);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
}

TEST_F(SettingsWindowTest, ApplyCopiesThePreviewToTheMainEditorAndStoresEverything) {
  Create();
  colors_to_pick = {Rgb(0x40, 0x50, 0x60), Rgb(0x70, 0x00, 0x10)};
  const int result = Open([&] {
    SelectElement(TfrmSettings::elActiveLine);
    Click(TfrmSettings::idChangeColor);
    SelectElement(TfrmSettings::elIdentifier);
    Click(TfrmSettings::idChangeColor);
    Click(TfrmSettings::idApply);
    EXPECT_FALSE(form->ApplyEnabled());
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(main_memo.ActiveLineColor(), Rgb(0x40, 0x50, 0x60));
    EXPECT_EQ(Stored("EditorActLineColor"), static_cast<std::int32_t>(Rgb(0x40, 0x50, 0x60)));
    Click(IDOK);
  });
  EXPECT_EQ(result, IDOK);
  EXPECT_EQ(applied, 2) << "OK applies again";
  EXPECT_EQ(main_ttm.IdentifierAttri()->Foreground(), Rgb(0x70, 0x00, 0x10));
  EXPECT_EQ(main_ttm.VantrelVarsAttri()->Foreground(), Rgb(0x70, 0x00, 0x10));
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString("FontName"), "Courier New");
  EXPECT_EQ(key->ReadInteger("SpacePerTAB"), 2);
  EXPECT_EQ(key->ReadInteger("SCPWidth"), 600);
  EXPECT_EQ(key->ReadString("TemplateFile"), program_dir.File("ttmacro.tpl"));
  auto macro = key->OpenKey("Macro", false);
  ASSERT_TRUE(macro);
  EXPECT_EQ(macro->ReadInteger("Foreground"), static_cast<std::int32_t>(Rgb(0x70, 0x00, 0x10)));
}

TEST_F(SettingsWindowTest, TheTabWidthListSetsThePreviewAndIsStoredAsTheIndex) {
  Create();
  EXPECT_EQ(SendMessageA(Item(TfrmSettings::idTabWidth), CB_GETCURSEL, 0, 0), 2);
  Open([&] {
    SelectTabWidth(6);
    EXPECT_EQ(form->Memo3().TabWidth(), 8);
    EXPECT_TRUE(form->ApplyEnabled());
    EXPECT_EQ(main_memo.TabWidth(), 4);
    Click(IDOK);
  });
  EXPECT_EQ(main_memo.TabWidth(), 8);
  EXPECT_EQ(Stored("SpacePerTAB"), 6);
}

TEST_F(SettingsWindowTest, TheTabBoxesToggleOnlyTheirOwnOption) {
  Create();
  struct Case {
    int box;
    TEditorOption option;
  };
  for (const Case c : {Case{TfrmSettings::idSmartTabs, eoSmartTabs},
                       Case{TfrmSettings::idTabsToSpaces, eoTabsToSpaces},
                       Case{TfrmSettings::idShowSpecial, eoShowSpecialChars}}) {
    SCOPED_TRACE(c.option);
    Open([&] {
      const TEditorOptions before = form->Memo3().Options();
      Click(c.box);
      const TEditorOptions after = form->Memo3().Options();
      EXPECT_NE(before.Contains(c.option), after.Contains(c.option));
      EXPECT_EQ(before - TEditorOptions{c.option}, after - TEditorOptions{c.option});
      EXPECT_EQ(after.Contains(c.option), Checked(c.box));
      EXPECT_TRUE(form->ApplyEnabled());
      Click(IDCANCEL);
    });
  }
}

TEST_F(SettingsWindowTest, ChangeFontOffersThePreviewFontAndTakesTheChosenOne) {
  Create();
  std::vector<TFontChoice> offered;
  std::optional<TFontChoice> answer;
  form->FontDialog = [&](const TFontChoice& initial) {
    offered.push_back(initial);
    return answer;
  };
  Open([&] {
    Click(TfrmSettings::idChangeFont);  // cancelled
    EXPECT_EQ(form->Memo3().Font().Name, "Courier New");
    EXPECT_FALSE(form->ApplyEnabled());
    TFontChoice lucida;
    lucida.font.Name = "Lucida Console";
    lucida.font.SetSize(14);
    lucida.font.Style = fsBold;
    lucida.charset = 204;
    answer = lucida;
    Click(TfrmSettings::idChangeFont);
    TFont shown = lucida.font;
    shown.CharSet = 204;
    EXPECT_EQ(form->Memo3().Font(), shown);
    EXPECT_TRUE(form->ApplyEnabled());
    Click(IDOK);
  });
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[0].font.Name, "Courier New");
  EXPECT_EQ(offered[0].font.Size(), 9);
  EXPECT_EQ(main_memo.Font().Name, "Lucida Console");
  EXPECT_EQ(main_memo.Font().Size(), 14);
  EXPECT_EQ(Stored("FontCharSet"), 204);
  EXPECT_EQ(Stored("FontStyle"), fsBold);
  EXPECT_EQ(form->FontCharset(), 204);
}

TEST_F(SettingsWindowTest, BrowseAndTypingChangeTheTemplatePath) {
  Create();
  prompts.AnswerFile(std::nullopt);
  prompts.AnswerFile(std::string("D:\\macros\\mine.tpl"));
  Open([&] {
    Click(TfrmSettings::idBrowse);
    EXPECT_EQ(form->TemplatePath(), program_dir.File("ttmacro.tpl"));
    Click(TfrmSettings::idBrowse);
    EXPECT_EQ(form->TemplatePath(), "D:\\macros\\mine.tpl");
    EXPECT_TRUE(form->ApplyEnabled());
    Click(IDOK);
  });
  ASSERT_EQ(prompts.Log().size(), 2u);
  EXPECT_EQ(prompts.Log()[0].dialog.default_ext, "tpl");
  EXPECT_EQ(prompts.Log()[0].dialog.filter, "Template files (*.tpl)|*.tpl|All files (*.*)|*.*");
  EXPECT_EQ(prompts.Log()[0].kind, "open");
  Open([&] {
    EXPECT_EQ(form->TemplatePath(), "D:\\macros\\mine.tpl") << "read back from the store";
    EXPECT_FALSE(form->ApplyEnabled());
    SetWindowTextA(Item(TfrmSettings::idTemplatePath), "  E:\\t.tpl  ");
    EXPECT_TRUE(form->ApplyEnabled());
    Click(IDOK);
  });
  auto key = registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, false);
  EXPECT_EQ(key->ReadString("TemplateFile"), "E:\\t.tpl");
}

TEST_F(SettingsWindowTest, TheToolbarToggleAndTheShowSpecialBoxFollowEachOther) {
  Create();
  ASSERT_FALSE(toolbar_states.empty()) << "the toggle follows the store at start-up";
  EXPECT_EQ(toolbar_states.back(), false);
  form->SetShowSpecialChecked(true);
  EXPECT_TRUE(form->ShowSpecialChecked());
  EXPECT_TRUE(form->Memo3().Options().Contains(eoShowSpecialChars));
  EXPECT_TRUE(form->Memo3().Options().Contains(eoNoCaret)) << "the preview shows no caret";
  Open(
      [&] {
        EXPECT_TRUE(form->ShowSpecialChecked()) << "the box follows the tool-bar toggle";
        Click(TfrmSettings::idShowSpecial);  // off again
        Click(IDOK);
      },
      true);
  EXPECT_FALSE(main_memo.Options().Contains(eoShowSpecialChars));
  EXPECT_EQ(toolbar_states.back(), false);
  EXPECT_EQ(Stored("ShowSpecial"), 0);
  // "Settings ..." with the toggle down and nothing stored differently
  registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, true)->WriteInteger("ShowSpecial", 1);
  Open(
      [&] {
        EXPECT_TRUE(form->ShowSpecialChecked());
        Click(IDCANCEL);
      },
      true);
  EXPECT_EQ(toolbar_states.back(), true);
}

TEST_F(SettingsWindowTest, TheAssociationBoxWritesAndRemovesTheKeysOnApply) {
  Create();
  ASSERT_TRUE(Enabled(TfrmSettings::idAssociate)) << "the scratch classes key takes new keys";
  EXPECT_FALSE(Checked(TfrmSettings::idAssociate));
  Open([&] {
    Click(TfrmSettings::idAssociate);
    EXPECT_TRUE(form->ApplyEnabled());
    Click(IDOK);
  });
  EXPECT_EQ(shell_told, 1);
  EXPECT_TRUE(form->Association().IsAssociated("ttl", kExe));
  auto command = registry.Open(TRegistryRoot::ClassesRoot, "ttlfile\\shell\\open\\command", false);
  ASSERT_TRUE(command);
  EXPECT_EQ(command->ReadString(""), std::string(kExe) + " \"%1\"");
  Open([&] { Click(IDOK); });
  EXPECT_EQ(shell_told, 1) << "an unchanged box writes nothing";
  Open([&] {
    Click(TfrmSettings::idAssociate);
    Click(IDOK);
  });
  EXPECT_EQ(shell_told, 2);
  EXPECT_FALSE(registry.Open(TRegistryRoot::ClassesRoot, ".ttl", false));
  EXPECT_FALSE(registry.Open(TRegistryRoot::ClassesRoot, "ttlfile", false));
}

TEST_F(SettingsWindowTest, DestroyingTheWindowStoresTheSettingsAlsoAfterCancel) {
  Create();
  Open([&] {
    SelectTabWidth(0);
    Click(IDCANCEL);
  });
  EXPECT_EQ(Stored("SpacePerTAB"), std::nullopt);
  form.reset();
  EXPECT_EQ(Stored("SpacePerTAB"), 0);
  EXPECT_EQ(Stored("FontSize"), 9);
  EXPECT_EQ(Stored("EditorBgColor"), static_cast<std::int32_t>(clWindow));
}

TEST_F(SettingsWindowTest, GoingWithItsOwnerStillStoresTheSettings) {
  Create();
  DestroyWindow(owner);
  owner = nullptr;
  EXPECT_FALSE(form->Handle());
  EXPECT_EQ(Stored("FontSize"), 9);
}

// The real classes root of the test system, put back as it was.
TEST(FileAssociationWin32, AssociatesAndRemovesUnderTheRealClassesRoot) {
  HKEY probe = nullptr;
  for (const char* name : {".ttl", "ttlfile"}) {
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, name, 0, KEY_READ, &probe) == ERROR_SUCCESS) {
      RegCloseKey(probe);
      GTEST_SKIP() << name << " exists on this system; leaving it alone";
    }
  }
  // Whatever happens below, the system's classes root is put back.
  struct Restore {
    ~Restore() {
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ".ttl");
      RegDeleteTreeA(HKEY_CLASSES_ROOT, "ttlfile");  // also the probe's key
    }
  } restore;
  TWin32Registry registry;
  int told = 0;
  TFileAssociation association(registry, [&] { ++told; });
  EXPECT_FALSE(association.IsAssociated("ttl", kExe));
  ASSERT_EQ(association.AssociationState(), TFileAssociation::asAllowed)
      << "the test system lets programs create keys there";
  association.AssociateExtension("ttl", kExe);
  EXPECT_TRUE(association.IsAssociated("ttl", kExe));
  EXPECT_FALSE(association.IsAssociated("ttl", "C:\\elsewhere\\Quillon.exe"));
  association.RemoveAssociation("ttl");
  EXPECT_EQ(told, 2);
  EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, ".ttl", 0, KEY_READ, &probe), ERROR_SUCCESS);
  EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, "ttlfile", 0, KEY_READ, &probe), ERROR_SUCCESS);
}

}  // namespace
