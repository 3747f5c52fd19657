#include "app/SettingsStore.h"

#include <functional>

#include "editor/Editor.h"
#include "language/TtlHighlighter.h"
#include "platform/Canvas.h"
#include "platform/Exception.h"
#include "platform/Registry.h"

namespace {

std::unique_ptr<IRegistryKey> OpenSettings(IRegistry& registry, bool create) {
  return registry.Open(TRegistryRoot::CurrentUser, kSettingsKeyPath, create);
}

// A key that refuses a value costs the user nothing but that value.
void WriteSettings(IRegistry& registry, const std::function<void(IRegistryKey&)>& write) {
  auto key = OpenSettings(registry, true);
  if (!key) return;
  try {
    write(*key);
  } catch (const Exception&) {
  }
}

}  // namespace

TMacroParams LoadParams(IRegistry& registry) {
  TMacroParams params;
  auto key = OpenSettings(registry, false);
  if (!key) return params;
  params.param2 = key->ReadString("Param2").value_or("");
  params.param3 = key->ReadString("Param3").value_or("");
  return params;
}

void SaveParams(IRegistry& registry, const TMacroParams& params) {
  WriteSettings(registry, [&](IRegistryKey& key) {
    key.WriteString("Param2", params.param2);
    key.WriteString("Param3", params.param3);
  });
}

void SaveShowSpecial(IRegistry& registry, bool on) {
  WriteSettings(registry, [&](IRegistryKey& key) { key.WriteBool("ShowSpecial", on); });
}

// ---- the values the settings window edits

namespace {

// Names of the stored values, in the order they are read.
constexpr char kTemplateFile[] = "TemplateFile";
constexpr char kPrintPreviewScale[] = "PrintPreviewScale";
constexpr char kTab2Space[] = "TAB2Space";
constexpr char kSmartTabs[] = "SmartTabs";
constexpr char kShowSpecial[] = "ShowSpecial";
constexpr char kSpacePerTab[] = "SpacePerTAB";
constexpr char kFontName[] = "FontName";
constexpr char kFontCharSet[] = "FontCharSet";
constexpr char kFontSize[] = "FontSize";
constexpr char kFontStyle[] = "FontStyle";
constexpr char kEditorBgColor[] = "EditorBgColor";
constexpr char kEditorActLineColor[] = "EditorActLineColor";
constexpr char kSelectionForeground[] = "EditorSelectionForeground";
constexpr char kSelectionBackground[] = "EditorSelectionBackground";
constexpr char kScpWidth[] = "SCPWidth";
constexpr char kCheckMacros[] = "CheckMacros";
constexpr char kLastTtlFile[] = "LastTTLFile";
constexpr char kNt[] = "NT";

constexpr TFontStyles kStyleMask = fsBold | fsItalic | fsUnderline | fsStrikeOut;

template <typename T>
void ReadInto(IRegistryKey& key, const char* name, T& target) {
  if (auto v = key.ReadInteger(name)) target = static_cast<T>(*v);
}

void ReadInto(IRegistryKey& key, const char* name, bool& target) {
  if (auto v = key.ReadBool(name)) target = *v;
}

std::string TrimSpaces(const std::string& text) {
  const auto first = text.find_first_not_of(' ');
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

void SetOption(TEditorOptions& options, TEditorOption option, bool on) {
  if (on) {
    options += option;
  } else {
    options -= option;
  }
}

}  // namespace

int TabWidthOfIndex(int index) { return index < 0 ? 1 : index + 2; }

TEditorSettings DefaultEditorSettings(const std::string& default_template, bool show_special_now) {
  TEditorSettings settings;
  settings.template_file = default_template;
  settings.show_special = show_special_now;
  return settings;
}

TEditorSettings ReadEditorSettings(IRegistry& registry, const TEditorSettings& defaults,
                                   const std::function<void(bool)>& after_show_special) {
  TEditorSettings s = defaults;
  auto key = OpenSettings(registry, false);
  if (!key) return s;
  if (auto path = key->ReadString(kTemplateFile); path && !path->empty()) s.template_file = *path;
  ReadInto(*key, kPrintPreviewScale, s.print_preview_scale);
  ReadInto(*key, kTab2Space, s.tabs_to_spaces);
  ReadInto(*key, kSmartTabs, s.smart_tabs);
  ReadInto(*key, kShowSpecial, s.show_special);
  if (after_show_special) after_show_special(s.show_special);
  ReadInto(*key, kSpacePerTab, s.tab_width_index);
  // The list has no entry for any other number: nothing is selected then.
  if (s.tab_width_index < 0 || s.tab_width_index >= kTabWidthCount) s.tab_width_index = -1;
  if (auto name = key->ReadString(kFontName)) s.font_name = *name;
  if (auto charset = key->ReadInteger(kFontCharSet)) s.font_charset = *charset & 0xFF;
  ReadInto(*key, kFontSize, s.font_size);
  if (auto style = key->ReadInteger(kFontStyle)) {
    s.font_style = static_cast<TFontStyles>(*style & kStyleMask);
  }
  ReadInto(*key, kEditorBgColor, s.background);
  ReadInto(*key, kEditorActLineColor, s.active_line);
  ReadInto(*key, kSelectionForeground, s.selection_foreground);
  ReadInto(*key, kSelectionBackground, s.selection_background);
  ReadInto(*key, kScpWidth, s.scp_width);
  ReadInto(*key, kCheckMacros, s.check_macros);
  return s;
}

void WriteEditorSettings(IRegistry& registry, const TEditorSettings& s) {
  WriteSettings(registry, [&](IRegistryKey& key) {
    key.WriteInteger(kPrintPreviewScale, s.print_preview_scale);
    key.WriteString(kLastTtlFile, s.last_ttl_file);
    key.WriteBool(kTab2Space, s.tabs_to_spaces);
    key.WriteBool(kSmartTabs, s.smart_tabs);
    key.WriteBool(kShowSpecial, s.show_special);
    key.WriteInteger(kSpacePerTab, s.tab_width_index);
    key.WriteString(kTemplateFile, TrimSpaces(s.template_file));
    key.WriteString(kFontName, s.font_name);
    key.WriteInteger(kFontCharSet, s.font_charset);
    key.WriteInteger(kFontSize, s.font_size);
    key.WriteInteger(kFontStyle, s.font_style);
    key.WriteInteger(kEditorBgColor, static_cast<std::int32_t>(s.background));
    key.WriteInteger(kEditorActLineColor, static_cast<std::int32_t>(s.active_line));
    key.WriteInteger(kSelectionForeground, static_cast<std::int32_t>(s.selection_foreground));
    key.WriteInteger(kSelectionBackground, static_cast<std::int32_t>(s.selection_background));
    key.WriteInteger(kScpWidth, s.scp_width);
    key.WriteBool(kCheckMacros, s.check_macros);
  });
}

void ApplySettingsToPreview(const TEditorSettings& s, TCustomEditor& preview) {
  TFont font = preview.Font();
  font.Name = s.font_name;
  font.SetSize(s.font_size);
  font.Style = s.font_style;
  font.CharSet = s.font_charset;
  preview.SetFont(font);
  preview.SetColor(s.background);
  preview.SetActiveLineColor(s.active_line);
  preview.SelectedColor().SetForeground(s.selection_foreground);
  preview.SelectedColor().SetBackground(s.selection_background);
  preview.SetWantTabs(true);
  TEditorOptions options = preview.Options();
  SetOption(options, eoTabsToSpaces, s.tabs_to_spaces);
  SetOption(options, eoSmartTabs, s.smart_tabs);
  SetOption(options, eoShowSpecialChars, s.show_special);
  preview.SetOptions(options);
  preview.SetTabWidth(TabWidthOfIndex(s.tab_width_index));
}

TEditorSettings SettingsFromPreview(TCustomEditor& preview, TEditorSettings held) {
  const TFont& font = preview.Font();
  held.font_name = font.Name;
  held.font_size = font.Size();
  held.font_style = font.Style;
  held.font_charset = font.CharSet;
  held.background = preview.Color();
  held.active_line = preview.ActiveLineColor();
  held.selection_foreground = preview.SelectedColor().Foreground();
  held.selection_background = preview.SelectedColor().Background();
  return held;
}

void ApplySettingsToEditor(TCustomEditor& preview, TCustomEditor& main_editor) {
  main_editor.SelectedColor().SetForeground(preview.SelectedColor().Foreground());
  main_editor.SelectedColor().SetBackground(preview.SelectedColor().Background());
  main_editor.SetActiveLineColor(preview.ActiveLineColor());
  main_editor.SetColor(preview.Color());
  main_editor.SetFont(preview.Font());
  main_editor.SetWantTabs(preview.WantTabs());
  main_editor.SetOptions(preview.Options() - TEditorOptions{eoNoCaret});
  main_editor.SetTabWidth(preview.TabWidth());
}

void RestoreHighlighterSettings(IRegistry& registry, TTtlHighlighter& highlighter) {
  highlighter.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kSettingsKeyPath);
  highlighter.VantrelVarsAttri()->SetStyle(highlighter.IdentifierAttri()->Style());
  highlighter.VantrelVarsAttri()->SetForeground(highlighter.IdentifierAttri()->Foreground());
}

void StoreHighlighterSettings(IRegistry& registry, TTtlHighlighter& preview_highlighter,
                              TTtlHighlighter& main_highlighter) {
  preview_highlighter.VantrelVarsAttri()->SetStyle(preview_highlighter.IdentifierAttri()->Style());
  preview_highlighter.VantrelVarsAttri()->SetForeground(
      preview_highlighter.IdentifierAttri()->Foreground());
  // A key that refuses an attribute's values leaves both highlighters as the
  // store has them, like any other value it refuses.
  try {
    preview_highlighter.StoreAttributes(registry, TRegistryRoot::CurrentUser, kSettingsKeyPath);
  } catch (const Exception&) {
  }
  main_highlighter.RestoreAttributes(registry, TRegistryRoot::CurrentUser, kSettingsKeyPath);
}

TEditorSettings LoadEditorSettings(IRegistry& registry, const TSettingsEditors& editors,
                                   const TEditorSettings& defaults,
                                   const std::function<void(bool)>& after_show_special) {
  const TEditorSettings settings = ReadEditorSettings(registry, defaults, after_show_special);
  ApplySettingsToPreview(settings, editors.preview);
  RestoreHighlighterSettings(registry, editors.main_highlighter);
  RestoreHighlighterSettings(registry, editors.preview_highlighter);
  ApplySettingsToEditor(editors.preview, editors.main_editor);
  return settings;
}

void SaveEditorSettings(IRegistry& registry, const TSettingsEditors& editors,
                        const TEditorSettings& held) {
  WriteEditorSettings(registry, SettingsFromPreview(editors.preview, held));
  StoreHighlighterSettings(registry, editors.preview_highlighter, editors.main_highlighter);
}

bool DetectWindowsNT(IRegistry& registry, const std::function<bool()>& ask_system) {
  auto key = OpenSettings(registry, true);
  if (!key) return true;
  if (auto stored = key->ReadBool(kNt)) return *stored;
  const bool nt = ask_system ? ask_system() : true;
  try {
    key->WriteBool(kNt, nt);
  } catch (const Exception&) {
  }
  return nt;
}
