#include "app/PrettyText.h"

#include <array>
#include <climits>
#include <cstdint>
#include <optional>

namespace {

struct NamedColor {
  const char* name;
  TColor color;
};

constexpr std::array<NamedColor, 52> kColorNames{{
    {"clBlack", 0x000000},
    {"clMaroon", 0x000080},
    {"clGreen", 0x008000},
    {"clOlive", 0x008080},
    {"clNavy", 0x800000},
    {"clPurple", 0x800080},
    {"clTeal", 0x808000},
    {"clGray", 0x808080},
    {"clSilver", 0xC0C0C0},
    {"clRed", 0x0000FF},
    {"clLime", 0x00FF00},
    {"clYellow", 0x00FFFF},
    {"clBlue", 0xFF0000},
    {"clFuchsia", 0xFF00FF},
    {"clAqua", 0xFFFF00},
    {"clWhite", 0xFFFFFF},
    {"clMoneyGreen", 0xC0DCC0},
    {"clSkyBlue", 0xF0CAA6},
    {"clCream", 0xF0FBFF},
    {"clMedGray", 0xA4A0A0},
    {"clNone", 0x1FFFFFFF},
    {"clDefault", 0x20000000},
    {"clScrollBar", SystemColor(0)},
    {"clBackground", SystemColor(1)},
    {"clActiveCaption", SystemColor(2)},
    {"clInactiveCaption", SystemColor(3)},
    {"clMenu", SystemColor(4)},
    {"clWindow", SystemColor(5)},
    {"clWindowFrame", SystemColor(6)},
    {"clMenuText", SystemColor(7)},
    {"clWindowText", SystemColor(8)},
    {"clCaptionText", SystemColor(9)},
    {"clActiveBorder", SystemColor(10)},
    {"clInactiveBorder", SystemColor(11)},
    {"clAppWorkSpace", SystemColor(12)},
    {"clHighlight", SystemColor(13)},
    {"clHighlightText", SystemColor(14)},
    {"clBtnFace", SystemColor(15)},
    {"clBtnShadow", SystemColor(16)},
    {"clGrayText", SystemColor(17)},
    {"clBtnText", SystemColor(18)},
    {"clInactiveCaptionText", SystemColor(19)},
    {"clBtnHighlight", SystemColor(20)},
    {"cl3DDkShadow", SystemColor(21)},
    {"cl3DLight", SystemColor(22)},
    {"clInfoText", SystemColor(23)},
    {"clInfoBk", SystemColor(24)},
    {"clHotLight", SystemColor(26)},
    {"clGradientActiveCaption", SystemColor(27)},
    {"clGradientInactiveCaption", SystemColor(28)},
    {"clMenuHighlight", SystemColor(29)},
    {"clMenuBar", SystemColor(30)},
}};

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool SameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (Upper(a[i]) != Upper(b[i])) return false;
  return true;
}

// A decimal number with an optional sign, or a hexadecimal one after '$',
// within 32 bits (signed for decimal, unsigned for hexadecimal).
std::optional<std::int64_t> ParseInteger(std::string_view s) {
  if (s.empty()) return std::nullopt;
  std::int64_t value = 0;
  if (s[0] == '$') {
    s.remove_prefix(1);
    if (s.empty() || s.size() > 8) return std::nullopt;
    for (char c : s) {
      int d;
      if (c >= '0' && c <= '9')
        d = c - '0';
      else if (Upper(c) >= 'A' && Upper(c) <= 'F')
        d = Upper(c) - 'A' + 10;
      else
        return std::nullopt;
      value = value * 16 + d;
    }
    return value;
  }
  bool negative = false;
  if (s[0] == '+' || s[0] == '-') {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 10) return std::nullopt;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
  return value;
}

// A chunk for a command, or nothing when the command is not valid.
std::optional<TFormatChunk> CommandChunk(std::string_view name, std::string_view arg) {
  TFormatChunk chunk;
  if (SameText(name, "COLOR")) {
    TColor color;
    if (PrettyColorByName(arg, color)) {
      chunk.Kind = TFormatChunkKind::Color;
      chunk.Color = color;
      return chunk;
    }
    auto n = ParseInteger(arg);
    if (!n) return std::nullopt;
    chunk.Kind = TFormatChunkKind::Color;
    chunk.Color = static_cast<TColor>(static_cast<std::uint32_t>(*n));
    return chunk;
  }
  if (SameText(name, "STYLE")) {
    if (arg.size() != 2) return std::nullopt;
    const char letter = Upper(arg[1]);
    if (letter != 'B' && letter != 'I' && letter != 'S' && letter != 'U') return std::nullopt;
    int action;
    if (arg[0] == '+')
      action = 1;
    else if (arg[0] == '-')
      action = -1;
    else if (arg[0] == '~')
      action = 0;
    else
      return std::nullopt;
    chunk.Kind = TFormatChunkKind::Style;
    chunk.Style = {letter, action};
    return chunk;
  }
  if (SameText(name, "COLUMN")) {
    if (!arg.empty()) return std::nullopt;
    chunk.Kind = TFormatChunkKind::Column;
    return chunk;
  }
  const bool hspace = SameText(name, "HSPACE");
  if (hspace || SameText(name, "IMAGE")) {
    auto n = ParseInteger(arg);
    if (!n || *n < INT32_MIN || *n > INT32_MAX) return std::nullopt;
    chunk.Kind = hspace ? TFormatChunkKind::HSpace : TFormatChunkKind::Image;
    chunk.Number = static_cast<int>(*n);
    return chunk;
  }
  return std::nullopt;
}

TFontStyles StyleBit(char letter) {
  switch (letter) {
    case 'B':
      return fsBold;
    case 'I':
      return fsItalic;
    case 'U':
      return fsUnderline;
    default:
      return fsStrikeOut;
  }
}

}  // namespace

bool PrettyColorByName(std::string_view name, TColor& color) {
  for (const auto& c : kColorNames) {
    if (SameText(name, c.name)) {
      color = c.color;
      return true;
    }
  }
  return false;
}

TFormatChunkList ParsePrettyText(std::string_view text, TFormatChunkKinds omit) {
  TFormatChunkList chunks;
  auto add = [&](TFormatChunk chunk) {
    if (!(omit & ChunkKindBit(chunk.Kind))) chunks.push_back(std::move(chunk));
  };
  std::string pending;
  auto flush = [&] {
    if (pending.empty()) return;
    TFormatChunk chunk;
    chunk.Text = std::move(pending);
    pending.clear();
    add(std::move(chunk));
  };
  std::size_t p = 0;
  while (p < text.size()) {
    const char c = text[p];
    if (c != '\\') {
      pending += c;
      ++p;
      continue;
    }
    if (p + 1 < text.size() && text[p + 1] == '\\') {
      pending += '\\';
      p += 2;
      continue;
    }
    flush();
    const std::size_t open = text.find('{', p + 1);
    if (open == std::string_view::npos) break;
    const std::size_t close = text.find('}', open + 1);
    if (close == std::string_view::npos) break;
    if (auto chunk =
            CommandChunk(text.substr(p + 1, open - p - 1), text.substr(open + 1, close - open - 1)))
      add(std::move(*chunk));
    p = close + 1;
  }
  flush();
  return chunks;
}

std::string PrettyPlainText(std::string_view text) {
  constexpr TFormatChunkKinds omit =
      static_cast<TFormatChunkKinds>(~ChunkKindBit(TFormatChunkKind::Text));
  std::string plain;
  for (const auto& chunk : ParsePrettyText(text, omit)) plain += chunk.Text;
  return plain;
}

int PaintFormatChunks(IPrettyCanvas& canvas, const TRect& rect, const TFormatChunkList& chunks,
                      bool measure_only, IPrettyImages* images, const TProposalColumns* columns) {
  const TFont saved = canvas.Font();
  TFont font = saved;
  std::size_t column = 0;
  const bool have_columns = columns && !columns->empty();
  if (have_columns) {
    font.Style = (*columns)[0].DefaultFontStyle;
    canvas.SetFont(font);
  }
  int x = rect.left;
  int column_start = rect.left;
  for (const auto& chunk : chunks) {
    bool stop = false;
    switch (chunk.Kind) {
      case TFormatChunkKind::Text:
        if (!measure_only) canvas.PaintText(x, rect.top, chunk.Text);
        x += canvas.TextWidth(chunk.Text);
        stop = x > rect.right;
        break;
      case TFormatChunkKind::Color:
        if (!measure_only) {
          font.Color = chunk.Color;
          canvas.SetFont(font);
        }
        break;
      case TFormatChunkKind::Style: {
        const TFontStyles bit = StyleBit(chunk.Style.Letter);
        if (chunk.Style.Action > 0)
          font.Style |= bit;
        else if (chunk.Style.Action < 0)
          font.Style &= static_cast<TFontStyles>(~bit);
        else
          font.Style ^= bit;
        canvas.SetFont(font);
        break;
      }
      case TFormatChunkKind::Column:
        if (have_columns && column < columns->size()) {
          column_start += canvas.TextWidth((*columns)[column].BiggestWord + " ");
          x = column_start;
          ++column;
          if (column < columns->size()) {
            font.Style = (*columns)[column].DefaultFontStyle;
            canvas.SetFont(font);
          }
        }
        break;
      case TFormatChunkKind::HSpace:
        x += chunk.Number;
        stop = x > rect.right;
        break;
      case TFormatChunkKind::Image:
        if (images) {
          if (!measure_only) images->Draw(canvas, chunk.Number, x, rect.top);
          x += images->Width();
          stop = x > rect.right;
        }
        break;
    }
    if (stop) break;
  }
  canvas.SetFont(saved);
  return x;
}

int PaintPrettyText(IPrettyCanvas& canvas, const TRect& rect, std::string_view text,
                    IPrettyImages* images, const TProposalColumns* columns, bool selected) {
  const TFormatChunkKinds omit = selected ? ChunkKindBit(TFormatChunkKind::Color) : 0;
  return PaintFormatChunks(canvas, rect, ParsePrettyText(text, omit), false, images, columns);
}

int MeasurePrettyText(IPrettyCanvas& canvas, std::string_view text, const TProposalColumns* columns,
                      IPrettyImages* images) {
  const TRect unbounded{0, 0, INT_MAX, INT_MAX};
  return PaintFormatChunks(canvas, unbounded,
                           ParsePrettyText(text, ChunkKindBit(TFormatChunkKind::Color)), true,
                           images, columns);
}

int TFixedPitchPrettyCanvas::TextWidth(std::string_view text) {
  return static_cast<int>(text.size()) * measurer_.MeasureFont(font_, font_.Style).Advance;
}

void TFixedPitchPrettyCanvas::PaintText(int x, int y, std::string_view text) {
  canvas_.UseFont(font_, font_.Style);
  canvas_.DrawTextRun(x, y, clip_, text, measurer_.MeasureFont(font_, font_.Style).Advance,
                      font_.Color, clNone, false);
}
