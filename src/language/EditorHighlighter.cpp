#include "language/EditorHighlighter.h"

#include <algorithm>
#include <typeinfo>

#include "platform/Exception.h"

namespace {

int CompareNamesIgnoringCase(const std::string& a, const std::string& b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    unsigned char ca = static_cast<unsigned char>(a[i]);
    unsigned char cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
    if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

const char kBackgroundValue[] = "Background";
const char kForegroundValue[] = "Foreground";
const char kStyleValue[] = "Style";

// Bits above the four style flags are ignored, so a stored mask from a newer
// or damaged store never yields a style the program cannot draw.
TFontStyles StyleFromMask(std::int32_t mask) {
  TFontStyles style = (mask & 1) ? fsBold : 0;
  if (mask & 2) style |= fsItalic;
  if (mask & 4) style |= fsUnderline;
  if (mask & 8) style |= fsStrikeOut;
  return style;
}

}  // namespace

THighlighterCharSet DefaultWordBreakChars() {
  THighlighterCharSet set;
  for (unsigned char c : std::string_view("!\"'()*+,-./:;=?[\\]^{|}")) set.set(c);
  return set;
}

// ---------------------------------------------------------------- attributes

void THighlighterAttributes::SetBackground(TColor value) {
  if (background_ == value) return;
  background_ = value;
  Changed();
}

void THighlighterAttributes::SetForeground(TColor value) {
  if (foreground_ == value) return;
  foreground_ = value;
  Changed();
}

void THighlighterAttributes::SetStyle(TFontStyles value) {
  if (style_ == value) return;
  style_ = value;
  Changed();
}

void THighlighterAttributes::SaveDefaultValues() {
  background_default_ = background_;
  foreground_default_ = foreground_;
  style_default_ = style_;
}

void THighlighterAttributes::Assign(const THighlighterAttributes& source) {
  name_ = source.name_;
  AssignColorAndStyle(source);
}

void THighlighterAttributes::AssignColorAndStyle(const THighlighterAttributes& source) {
  bool changed = false;
  if (background_ != source.background_) {
    background_ = source.background_;
    changed = true;
  }
  if (foreground_ != source.foreground_) {
    foreground_ = source.foreground_;
    changed = true;
  }
  if (style_ != source.style_) {
    style_ = source.style_;
    changed = true;
  }
  if (changed) Changed();
}

void THighlighterAttributes::Changed() {
  if (OnChange) OnChange(this);
}

// --------------------------------------------------------------- highlighter

TCustomHighlighter::TCustomHighlighter() : word_break_chars_(DefaultWordBreakChars()) {}

TCustomHighlighter::~TCustomHighlighter() {
  // Copy first: a subscriber may unregister others while being told.
  auto notifications = std::move(free_notifications_);
  free_notifications_.clear();
  for (auto& n : notifications) {
    if (n.callback) n.callback(this);
  }
}

int TCustomHighlighter::AttributeCount() const { return static_cast<int>(attributes_.size()); }

THighlighterAttributes* TCustomHighlighter::AttributeAt(int index) const {
  if (index < 0 || index >= AttributeCount()) return nullptr;
  return attributes_[static_cast<std::size_t>(index)].get();
}

THighlighterCharSet TCustomHighlighter::IdentChars() const {
  THighlighterCharSet set;
  for (int c = 33; c <= 255; ++c) set.set(static_cast<std::size_t>(c));
  return set;
}

void TCustomHighlighter::ScanToLineEnd() {
  while (!AtLineEnd()) NextToken();
}

TLineState TCustomHighlighter::ScanLine(std::string_view text, int lineIndex) {
  SetLineText(text, lineIndex);
  int last_start = -1;
  int stalls = 0;
  while (!AtLineEnd()) {
    const int start = TokenStart();
    if (start == last_start && TokenLength() == 0) {
      if (++stalls >= 2) break;  // a stuck scanner must not hang the editor
    } else {
      stalls = 0;
    }
    last_start = start;
    NextToken();
  }
  return GetLineState();
}

void TCustomHighlighter::AddAttribute(std::unique_ptr<THighlighterAttributes> attribute) {
  auto position = std::lower_bound(
      attributes_.begin(), attributes_.end(), attribute->Name(),
      [](const std::unique_ptr<THighlighterAttributes>& a, const std::string& name) {
        return CompareNamesIgnoringCase(a->Name(), name) < 0;
      });
  if (position != attributes_.end() &&
      CompareNamesIgnoringCase((*position)->Name(), attribute->Name()) == 0) {
    throw Exception("Duplicate attribute name '" + attribute->Name() + "'");
  }
  attributes_.insert(position, std::move(attribute));
}

void TCustomHighlighter::SetAttributesOnChange(
    std::function<void(THighlighterAttributes*)> handler) {
  for (auto& attribute : attributes_) {
    attribute->OnChange = handler;
    attribute->SaveDefaultValues();
  }
}

void TCustomHighlighter::DefHighlightChange(THighlighterAttributes* sender) {
  if (loading_) return;
  FireChangeHooks(sender);
}

void TCustomHighlighter::Loaded() {
  loading_ = false;
  DefHighlightChange(nullptr);
}

void TCustomHighlighter::FireChangeHooks(THighlighterAttributes* sender) {
  // Index loop over a copy: a hook may hook or unhook while it runs.
  const std::vector<THighlighterChangeHook> hooks = change_hooks_;
  for (const auto& hook : hooks) {
    if (hook.function) hook.function(hook.context, sender);
  }
}

void TCustomHighlighter::HookAttributeChange(const THighlighterChangeHook& hook) {
  change_hooks_.push_back(hook);
}

void TCustomHighlighter::UnhookAttributeChange(const THighlighterChangeHook& hook) {
  for (std::size_t i = change_hooks_.size(); i-- > 0;) {
    if (change_hooks_[i] == hook) change_hooks_.erase(change_hooks_.begin() + static_cast<long>(i));
  }
}

void TCustomHighlighter::AddFreeNotification(void* subscriber,
                                             std::function<void(TCustomHighlighter*)> callback) {
  free_notifications_.push_back({subscriber, std::move(callback)});
}

void TCustomHighlighter::RemoveFreeNotification(void* subscriber) {
  std::erase_if(free_notifications_,
                [subscriber](const FreeNotification& n) { return n.subscriber == subscriber; });
}

void TCustomHighlighter::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  DefHighlightChange(nullptr);
}

void TCustomHighlighter::Assign(const TCustomHighlighter& source) {
  if (&source == this) return;
  for (auto& own : attributes_) {
    for (int i = 0; i < source.AttributeCount(); ++i) {
      const THighlighterAttributes* other = source.AttributeAt(i);
      if (other->Name() == own->Name()) {
        own->Assign(*other);
        break;
      }
    }
  }
  if (typeid(source) == typeid(*this)) SetSampleSource(source.SampleSource());
  SetWordBreakChars(source.WordBreakChars());
  SetDefaultFilter(source.DefaultFilter());
  SetEnabled(source.Enabled());
}

bool TCustomHighlighter::StoreAttributes(IRegistry& registry, TRegistryRoot root,
                                         const std::string& keyPath) {
  std::unique_ptr<IRegistryKey> key = registry.Open(root, keyPath, true);
  if (!key) return false;
  bool all = true;
  for (auto& attribute : attributes_) {
    std::unique_ptr<IRegistryKey> sub = key->OpenKey(attribute->Name(), true);
    if (!sub) {
      all = false;
      continue;
    }
    sub->WriteInteger(kBackgroundValue, static_cast<std::int32_t>(attribute->Background()));
    sub->WriteInteger(kForegroundValue, static_cast<std::int32_t>(attribute->Foreground()));
    sub->WriteInteger(kStyleValue, static_cast<std::int32_t>(attribute->Style()));
  }
  return all;
}

bool TCustomHighlighter::RestoreAttributes(IRegistry& registry, TRegistryRoot root,
                                           const std::string& keyPath) {
  std::unique_ptr<IRegistryKey> key = registry.Open(root, keyPath, false);
  if (!key) return false;
  bool all = true;
  for (auto& attribute : attributes_) {
    std::unique_ptr<IRegistryKey> sub = key->OpenKey(attribute->Name(), false);
    if (!sub) {
      all = false;
      continue;
    }
    // A value of another type counts as missing and keeps the current value.
    if (auto v = sub->ReadInteger(kBackgroundValue))
      attribute->SetBackground(static_cast<TColor>(*v));
    if (auto v = sub->ReadInteger(kForegroundValue))
      attribute->SetForeground(static_cast<TColor>(*v));
    if (auto v = sub->ReadInteger(kStyleValue)) attribute->SetStyle(StyleFromMask(*v));
  }
  return all;
}
