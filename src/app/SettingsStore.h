#pragma once
// The settings key "Software\Brevik\Quillon": what is stored there, the
// defaults a missing value keeps, and how the stored values reach the
// settings window's preview editor, the main editor and both highlighters.
// Every routine opens the key itself and closes it again; readers never
// create it, writers create it and skip the write silently when that fails.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/Types.h"

class IRegistry;
class TCustomEditor;
class TTtlHighlighter;

// The tool-bar parameters, kept as "Param2" and "Param3".
struct TMacroParams {
  std::string param2;
  std::string param3;
};
// Missing values (or key), or values of another type, read as empty.
TMacroParams LoadParams(IRegistry& registry);
void SaveParams(IRegistry& registry, const TMacroParams& params);

// "ShowSpecial" from the tool-bar toggle, written the moment it changes.
void SaveShowSpecial(IRegistry& registry, bool on);

// ---- the values the settings window edits

// The tab-width list holds "2" to "32": entry i is tab width i + 2.
constexpr int kTabWidthCount = 31;
// The tab width of a list index; no selection (-1) gives 1.
int TabWidthOfIndex(int index);

// Everything the settings window holds between loading and saving, as the
// store sees it. The window keeps these in its controls and preview editor.
struct TEditorSettings {
  std::string template_file;
  int print_preview_scale = 4;
  bool tabs_to_spaces = false;
  bool smart_tabs = false;
  bool show_special = false;
  int tab_width_index = 2;  // -1: no entry selected
  std::string font_name = "Courier New";
  int font_charset = 1;
  int font_size = 9;  // points
  TFontStyles font_style = 0;
  TColor background = clWindow;
  TColor active_line = clYellow;
  TColor selection_foreground = clHighlightText;
  TColor selection_background = clHighlight;
  int scp_width = 600;
  // Macros are checked while they are edited; settings stored before the
  // checker existed read as on.
  bool check_macros = true;
  // Written for information only, never read back.
  std::string last_ttl_file;
};

// The defaults a first start gets. "ShowSpecial" has none of its own: it
// keeps whatever the check box shows.
TEditorSettings DefaultEditorSettings(const std::string& default_template, bool show_special_now);

// Reads the stored values over `defaults`, value by value: a missing value,
// or one of another type, keeps its default; an empty "TemplateFile" keeps
// the default path; a "SpacePerTAB" outside the list gives index -1. A key
// that does not exist leaves everything as given. `after_show_special` runs
// right after "ShowSpecial" was read (the tool-bar toggle follows the box
// there), with the value that now holds.
TEditorSettings ReadEditorSettings(IRegistry& registry, const TEditorSettings& defaults,
                                   const std::function<void(bool)>& after_show_special = {});

// Writes every value in the store's fixed order (the template path trimmed
// of surrounding spaces). Nothing is written when the key cannot be opened;
// a value the key refuses costs only that value and the ones after it.
void WriteEditorSettings(IRegistry& registry, const TEditorSettings& settings);

// The preview editor takes font, colours, tab handling and tab width; it
// always accepts tabs. `eoTabsToSpaces`, `eoSmartTabs` and
// `eoShowSpecialChars` follow the three check boxes; other options stay.
void ApplySettingsToPreview(const TEditorSettings& settings, TCustomEditor& preview);
// The values the preview editor holds (font and colours) over the ones the
// window's controls hold.
TEditorSettings SettingsFromPreview(TCustomEditor& preview, TEditorSettings held);

// The main editor takes the preview's selection colours, active-line colour,
// background, whole font, tab acceptance, options without `eoNoCaret`, and
// tab width. The text, caret and file stay as they are.
void ApplySettingsToEditor(TCustomEditor& preview, TCustomEditor& main_editor);

// A highlighter reads its attributes from the settings key, then its
// VantrelVars attribute takes the Identifier attribute's style and colour.
void RestoreHighlighterSettings(IRegistry& registry, TTtlHighlighter& highlighter);
// The preview's highlighter stores its attributes (VantrelVars first taking
// the Identifier attribute's style and colour); the main highlighter then
// reads them back, so that both agree with the store.
void StoreHighlighterSettings(IRegistry& registry, TTtlHighlighter& preview_highlighter,
                              TTtlHighlighter& main_highlighter);

// The whole load: defaults, stored values, the preview, both highlighters,
// then the main editor. Returns what the window's controls are to show.
struct TSettingsEditors {
  TCustomEditor& preview;
  TTtlHighlighter& preview_highlighter;
  TCustomEditor& main_editor;
  TTtlHighlighter& main_highlighter;
};
TEditorSettings LoadEditorSettings(IRegistry& registry, const TSettingsEditors& editors,
                                   const TEditorSettings& defaults,
                                   const std::function<void(bool)>& after_show_special = {});
// The whole save: the controls' values `held` with the preview's font and
// colours, then the highlighters.
void SaveEditorSettings(IRegistry& registry, const TSettingsEditors& editors,
                        const TEditorSettings& held);

// "NT": whether the system is of the NT family, which decides how printers
// are counted. Asked of the system (`ask_system`) only when the value is
// missing, then stored and never asked again. A key that cannot be opened
// answers true.
bool DetectWindowsNT(IRegistry& registry, const std::function<bool()>& ask_system);
