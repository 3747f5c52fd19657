#pragma once
// The shared part of every highlighter: display attributes and the abstract
// scanner that the editor, the printer and the settings window drive token by
// token.
//
// Token iteration, as every caller uses it:
//   1. Restore the state the line starts in: ResetLineState() for line 0,
//      otherwise SetLineState(state stored for the previous line).
//   2. SetLineText(text, lineIndex): the first token is current right after.
//   3. While !AtLineEnd(): read TokenText()/TokenStart()/TokenLength()/
//      TokenKind()/TokenAttribute(), then NextToken(). Tokens are contiguous
//      and cover the whole line; the end-of-line token starts at the length.
//   4. GetLineState() is the value to store for this line.
#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/Types.h"

// One bit per byte value.
using THighlighterCharSet = std::bitset<256>;

// The scanner state at the end of a line, stored per line by the editor.
using TLineState = std::int32_t;

// Roles for DefaultAttribute.
enum THighlighterRole : int {
  hrComment = 0,
  hrIdentifier = 1,
  hrKeyword = 2,
  hrString = 3,
  hrWhitespace = 4,
  hrSymbol = 5,
};

// The colours and font style of one token class.
class THighlighterAttributes {
 public:
  explicit THighlighterAttributes(std::string name) : name_(std::move(name)) {}
  THighlighterAttributes(const THighlighterAttributes&) = delete;
  THighlighterAttributes& operator=(const THighlighterAttributes&) = delete;

  const std::string& Name() const { return name_; }

  // clNone means "use the editor's own colour".
  TColor Background() const { return background_; }
  TColor Foreground() const { return foreground_; }
  TFontStyles Style() const { return style_; }
  // A setter with the current value changes nothing and notifies nobody.
  void SetBackground(TColor value);
  void SetForeground(TColor value);
  void SetStyle(TFontStyles value);

  // The values the owning highlighter gave this attribute when it was built.
  TColor BackgroundDefault() const { return background_default_; }
  TColor ForegroundDefault() const { return foreground_default_; }
  TFontStyles StyleDefault() const { return style_default_; }
  // Takes the current values as the defaults.
  void SaveDefaultValues();

  // Copies the name, then colours and style.
  void Assign(const THighlighterAttributes& source);
  // Copies colours and style; one Changed() when anything differed.
  void AssignColorAndStyle(const THighlighterAttributes& source);

  // Raises OnChange with this attribute, when it is set.
  void Changed();

  // Set by the owning highlighter.
  std::function<void(THighlighterAttributes*)> OnChange;

 private:
  std::string name_;
  TColor background_ = clNone;
  TColor foreground_ = clNone;
  TFontStyles style_ = 0;
  TColor background_default_ = clNone;
  TColor foreground_default_ = clNone;
  TFontStyles style_default_ = 0;
};

// A subscriber to attribute and Enabled changes: a plain function and the
// context it is called with. Two hooks are equal when both parts are equal,
// which is what UnhookAttributeChange compares. sender is the changed
// attribute, or nullptr for a change of the whole highlighter (Enabled).
struct THighlighterChangeHook {
  void (*function)(void* context, THighlighterAttributes* sender) = nullptr;
  void* context = nullptr;
  friend bool operator==(const THighlighterChangeHook&, const THighlighterChangeHook&) = default;
};

// Builds the hook that calls object->Method(sender). The same object and
// method always give an equal hook, so it can be unhooked again.
template <class T, void (T::*Method)(THighlighterAttributes*)>
THighlighterChangeHook MakeHighlighterChangeHook(T* object) {
  return {[](void* context, THighlighterAttributes* sender) {
            (static_cast<T*>(context)->*Method)(sender);
          },
          object};
}

class TCustomHighlighter {
 public:
  TCustomHighlighter();
  virtual ~TCustomHighlighter();
  TCustomHighlighter(const TCustomHighlighter&) = delete;
  TCustomHighlighter& operator=(const TCustomHighlighter&) = delete;

  // ---- attributes, in case-insensitive name order
  virtual int AttributeCount() const;
  // nullptr when index is outside 0..AttributeCount()-1.
  virtual THighlighterAttributes* AttributeAt(int index) const;
  // nullptr for a role the highlighter has no attribute for.
  virtual THighlighterAttributes* DefaultAttribute(int role) const = 0;
  THighlighterAttributes* WhitespaceAttribute() const { return DefaultAttribute(hrWhitespace); }

  // ---- language description
  virtual std::string DefaultFilter() const { return default_filter_; }
  virtual void SetDefaultFilter(const std::string& value) { default_filter_ = value; }
  virtual THighlighterCharSet IdentChars() const;
  const THighlighterCharSet& WordBreakChars() const { return word_break_chars_; }
  virtual void SetWordBreakChars(const THighlighterCharSet& value) { word_break_chars_ = value; }
  virtual std::string SampleSource() const { return std::string(); }
  virtual void SetSampleSource(const std::string&) {}
  virtual std::string LanguageName() const { return "<Unknown>"; }

  // ---- scanning (see the contract at the top of this file)
  virtual void SetLineText(std::string_view text, int lineIndex) = 0;
  virtual void NextToken() = 0;
  virtual bool AtLineEnd() const = 0;
  virtual std::string TokenText() const = 0;
  // 0-based byte offset of the current token in the line.
  virtual int TokenStart() const = 0;
  // Length in bytes of the current token (TokenText().size(), without a copy).
  virtual int TokenLength() const { return static_cast<int>(TokenText().size()); }
  virtual int TokenKind() const = 0;
  // nullptr for the end-of-line token; paint it in the editor's colours.
  virtual THighlighterAttributes* TokenAttribute() const = 0;
  virtual TLineState GetLineState() const { return 0; }
  virtual void SetLineState(TLineState) {}
  virtual void ResetLineState() {}
  // NextToken until AtLineEnd.
  void ScanToLineEnd();
  // Steps 2-4 for a line that starts in the current state: the state the
  // line leaves for the next one, which also becomes the current state. The
  // editor's line-state rescan runs this for every changed line. The current
  // token is unspecified afterwards. A highlighter whose end state does not
  // depend on the text may answer without scanning; the base scans every
  // token and gives up on a scanner that stops advancing.
  virtual TLineState ScanLine(std::string_view text, int lineIndex);

  // ---- persistence below root\keyPath, one subkey per attribute holding the
  // integers "Background", "Foreground" and "Style". Both return true only
  // when every attribute's subkey could be opened.
  virtual bool RestoreAttributes(IRegistry& registry, TRegistryRoot root,
                                 const std::string& keyPath);
  virtual bool StoreAttributes(IRegistry& registry, TRegistryRoot root, const std::string& keyPath);

  // ---- state shared with the editors that use this highlighter
  bool Enabled() const { return enabled_; }
  // A real change fires the change hooks with no sender.
  void SetEnabled(bool value);

  // Fired, in the order added, on every attribute change and Enabled change.
  // An exception from a hook propagates and the later hooks are skipped.
  void HookAttributeChange(const THighlighterChangeHook& hook);
  // Removes every equal hook.
  void UnhookAttributeChange(const THighlighterChangeHook& hook);

  // Users that keep a pointer to this highlighter without owning it register
  // here and are told when it is destroyed, so they can drop the pointer.
  void AddFreeNotification(void* subscriber, std::function<void(TCustomHighlighter*)> callback);
  void RemoveFreeNotification(void* subscriber);

  // Copies the attributes with exactly matching names, the sample source
  // (only between highlighters of the same class), WordBreakChars,
  // DefaultFilter and Enabled.
  virtual void Assign(const TCustomHighlighter& source);

  // Ends construction: from now on attribute changes reach the hooks. Runs
  // the change handler once with no sender.
  void Loaded();
  bool IsLoading() const { return loading_; }

 protected:
  // Inserts in name order; a second attribute with the same name (ignoring
  // case) raises Exception.
  void AddAttribute(std::unique_ptr<THighlighterAttributes> attribute);
  // Gives every attribute the handler and snapshots its values as defaults.
  void SetAttributesOnChange(std::function<void(THighlighterAttributes*)> handler);
  // The handler concrete highlighters give their attributes.
  void DefHighlightChange(THighlighterAttributes* sender);

 private:
  void FireChangeHooks(THighlighterAttributes* sender);

  std::vector<std::unique_ptr<THighlighterAttributes>> attributes_;
  std::vector<THighlighterChangeHook> change_hooks_;
  struct FreeNotification {
    void* subscriber;
    std::function<void(TCustomHighlighter*)> callback;
  };
  std::vector<FreeNotification> free_notifications_;
  THighlighterCharSet word_break_chars_;
  std::string default_filter_;
  bool enabled_ = true;
  bool loading_ = true;
};

// The 22 characters that break words unless a highlighter says otherwise.
THighlighterCharSet DefaultWordBreakChars();
