#pragma once
// A canvas that records what is drawn on it, for tests of painting code.
#include <string>
#include <vector>

#include "platform/Canvas.h"

class TRecordingCanvas : public ICanvas {
 public:
  enum class Kind { Fill, Line, Text, Wave };
  struct Op {
    Kind kind = Kind::Fill;
    TRect rect{};         // Fill: the rectangle; Text: the clip
    TPoint from{}, to{};  // Line and Wave ends; Text: from is the origin
    TColor color = 0;     // Fill and Line colour; Text foreground
    TColor background = 0;
    std::string text;
    int advance = 0;
    // Wide runs (text as UTF-8): their characters in WideRun(wide); -1 for
    // byte runs.
    int wide = -1;
    bool opaque = false;
    TFont font;
    TFontStyles style = 0;
  };

  TColor ResolveColor(TColor color) override;
  void FillRect(const TRect& rect, TColor color) override;
  void DrawLine(TPoint from, TPoint to, TColor color) override;
  // Recorded as from (x1, y), to (x2, y + height).
  void DrawWave(int x1, int x2, int y, int height, TColor color) override;
  void UseFont(const TFont& font, TFontStyles style) override;
  void DrawTextRun(int x, int y, const TRect& clip, std::string_view text, int advance,
                   TColor foreground, TColor background, bool opaque) override;
  void DrawWideTextRun(int x, int y, const TRect& clip, std::u16string_view text,
                       std::span<const int> advances, TColor foreground, TColor background,
                       bool opaque) override;

  const std::vector<Op>& Ops() const { return ops_; }
  void Clear() {
    ops_.clear();
    wide_runs_.clear();
  }
  // The characters of a wide run: each one's UTF-8 text and advance in pixels.
  using WideChars = std::vector<std::pair<std::string, int>>;
  const WideChars& WideRun(int index) const { return wide_runs_[static_cast<std::size_t>(index)]; }
  // Text runs whose origin is on pixel row y, left to right.
  std::vector<Op> TextsAt(int y) const;
  // The concatenated text drawn opaquely on pixel row y, placed by cell
  // (advance) from pixel x0; cells nobody drew stay blank.
  std::string RowText(int y, int x0) const;
  // The characters drawn opaquely on pixel row y by cell from pixel x0: entry k
  // is the character whose first cell is cell k ("" for cells that start none).
  std::vector<std::string> CellsAt(int y, int x0, int cell_width) const;
  // The colour last filled or drawn as background at the pixel (x, y), or clNone.
  TColor BackgroundAt(int x, int y) const;

 private:
  std::vector<Op> ops_;
  std::vector<WideChars> wide_runs_;
  TFont font_;
  TFontStyles style_ = 0;
};
