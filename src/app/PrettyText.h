#pragma once
// The inline formatting of the completion list's display texts: ordinary text
// mixed with \color{..}, \style{..}, \column{}, \hspace{..} and \image{..}
// commands, and \\ for a backslash. Parsed into chunks, then reduced to plain
// text, painted or measured.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Types.h"

enum class TFormatChunkKind : std::uint8_t {
  Text = 0,
  Color = 1,
  Style = 2,
  Column = 3,
  HSpace = 4,
  Image = 5
};

// A set of chunk kinds, bit n for kind n.
using TFormatChunkKinds = std::uint8_t;
constexpr TFormatChunkKinds ChunkKindBit(TFormatChunkKind k) {
  return static_cast<TFormatChunkKinds>(1u << static_cast<unsigned>(k));
}

struct TFormatStyle {
  char Letter = 'B';  // B, I, U or S (upper case)
  int Action = 0;     // +1 on, -1 off, 0 toggle
  friend bool operator==(const TFormatStyle&, const TFormatStyle&) = default;
};

struct TFormatChunk {
  TFormatChunkKind Kind = TFormatChunkKind::Text;
  std::string Text;    // Text
  TColor Color = 0;    // Color
  TFormatStyle Style;  // Style
  int Number = 0;      // HSpace pixels, Image index
  friend bool operator==(const TFormatChunk&, const TFormatChunk&) = default;
};

using TFormatChunkList = std::vector<TFormatChunk>;

// One column of an optional column layout: the width of BiggestWord plus a
// blank, and the font style the column starts with.
struct TProposalColumn {
  std::string BiggestWord = "CONSTRUCTOR";
  TFontStyles DefaultFontStyle = 0;
};
using TProposalColumns = std::vector<TProposalColumn>;

// What the painter draws on: a current font (its colour and style included),
// the width of a text in it, and transparent text output.
class IPrettyCanvas {
 public:
  virtual ~IPrettyCanvas() = default;
  virtual TFont Font() const = 0;
  virtual void SetFont(const TFont& font) = 0;
  virtual int TextWidth(std::string_view text) = 0;
  virtual void PaintText(int x, int y, std::string_view text) = 0;
};

// An image list: images of one width, drawn by index.
class IPrettyImages {
 public:
  virtual ~IPrettyImages() = default;
  virtual int Width() const = 0;
  virtual void Draw(IPrettyCanvas& canvas, int index, int x, int y) = 0;
};

// The colour a \color name stands for (case ignored); false for an unknown name.
bool PrettyColorByName(std::string_view name, TColor& color);

// Chunks of the kinds in `omit` are left out.
TFormatChunkList ParsePrettyText(std::string_view text, TFormatChunkKinds omit = 0);
// The text chunks only, joined.
std::string PrettyPlainText(std::string_view text);
// Draws `text` from the rectangle's top-left corner; in a selected row colour
// commands are ignored, so the caller's colour holds. Returns the final x.
int PaintPrettyText(IPrettyCanvas& canvas, const TRect& rect, std::string_view text,
                    IPrettyImages* images, const TProposalColumns* columns, bool selected);
// The width the text would take (colour commands ignored).
int MeasurePrettyText(IPrettyCanvas& canvas, std::string_view text, const TProposalColumns* columns,
                      IPrettyImages* images);

// The painter over a chunk list; draws nothing when measure_only.
int PaintFormatChunks(IPrettyCanvas& canvas, const TRect& rect, const TFormatChunkList& chunks,
                      bool measure_only, IPrettyImages* images, const TProposalColumns* columns);

// A pretty-text target on a fixed-pitch canvas: each character advances by the
// measured cell width of the current font and style; text is clipped to `clip`.
class TFixedPitchPrettyCanvas : public IPrettyCanvas {
 public:
  TFixedPitchPrettyCanvas(ICanvas& canvas, IFontMeasurer& measurer, const TFont& font,
                          const TRect& clip)
      : canvas_(canvas), measurer_(measurer), font_(font), clip_(clip) {}
  TFont Font() const override { return font_; }
  void SetFont(const TFont& font) override { font_ = font; }
  int TextWidth(std::string_view text) override;
  void PaintText(int x, int y, std::string_view text) override;

 private:
  ICanvas& canvas_;
  IFontMeasurer& measurer_;
  TFont font_;
  TRect clip_;
};
