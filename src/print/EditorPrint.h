#pragma once
// The print engine: lays a copy of the editor's lines out on pages (tabs
// expanded, long lines wrapped at break characters), frames each page with a
// header and a footer, and draws pages on the printer or on any surface.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/EditorTypes.h"
#include "language/EditorHighlighter.h"
#include "print/EditorPrintHeaderFooter.h"
#include "print/EditorPrintMargins.h"
#include "print/EditorPrinterInfo.h"
#include "print/PrintSurface.h"

class ICodePage;
class TCustomEditor;

enum TPrintStatus { psBegin = 0, psNewPage = 1, psEnd = 2 };

class TEditorPrint;
using TPrintLineEvent = std::function<void(TEditorPrint* Sender, int LineNumber, int PageNumber)>;
using TPrintStatusEvent =
    std::function<void(TEditorPrint* Sender, TPrintStatus Status, int PageNumber, bool& Abort)>;

// Tabs expanded to spaces up to the next stop every tab_width columns; a
// width below 2 turns each tab into one space. Columns are counted in the
// cells of the character set's characters when one is given.
std::string ExpandPrintTabs(std::string_view line, int tab_width,
                            const ICodePage* code_page = nullptr);

// Wrap positions (1-based index of each row's last byte) for a line longer
// than max_columns, breaking after bytes of the break set. False when no
// position was found for a line that needs one.
bool WrapAtBreaks(std::string_view text, std::string_view break_set, int max_columns,
                  std::vector<int>& positions);

// The rows a line of the given length takes when it is cut every max_columns
// bytes (positions as for WrapAtBreaks).
void CutEvery(int length, int max_columns, std::vector<int>& positions);

class TEditorPrint {
 public:
  explicit TEditorPrint(IPrinter* printer = nullptr);
  ~TEditorPrint();
  TEditorPrint(const TEditorPrint&) = delete;
  TEditorPrint& operator=(const TEditorPrint&) = delete;

  IPrinter* Printer() const { return printer_; }
  void SetPrinter(IPrinter* value) { printer_ = value; }

  int Copies() const { return copies_; }
  void SetCopies(int value) { copies_ = value; }
  THeader& Header() { return header_; }
  TFooter& Footer() { return footer_; }
  TEditorPrintMargins& Margins() { return margins_; }
  const TEditorPrintMargins& Margins() const { return margins_; }

  // The lines as printed (tabs expanded).
  const std::vector<std::string>& Lines() const { return lines_; }
  // The character set of the lines SetLines gets (not owned; nullptr: one
  // byte per character).
  void SetCodePage(const ICodePage* value) { code_page_ = value; }
  // Copies the lines, expanding tabs with the current TabWidth.
  void SetLines(const std::vector<std::string>& lines);
  const TFont& Font() const { return font_; }
  void SetFont(const TFont& value);
  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& value) { title_ = value; }
  const std::string& DocTitle() const { return doc_title_; }
  void SetDocTitle(const std::string& value) { doc_title_ = value; }
  bool Wrap() const { return wrap_; }
  void SetWrap(bool value) {
    wrap_ = value;
    pages_counted_ = false;
  }
  bool Highlight() const { return highlight_; }
  void SetHighlight(bool value) { highlight_ = value; }
  bool SelectedOnly() const { return selected_only_; }
  void SetSelectedOnly(bool value) {
    selected_only_ = value;
    pages_counted_ = false;
  }
  bool Colors() const { return colors_; }
  void SetColors(bool value) { colors_ = value; }
  bool LineNumbers() const { return line_numbers_; }
  void SetLineNumbers(bool value) {
    line_numbers_ = value;
    pages_counted_ = false;
  }
  bool LineNumbersInMargin() const { return line_numbers_in_margin_; }
  void SetLineNumbersInMargin(bool value) {
    line_numbers_in_margin_ = value;
    pages_counted_ = false;
  }
  int LineOffset() const { return line_offset_; }
  void SetLineOffset(int value) { line_offset_ = value; }
  int PageOffset() const { return page_offset_; }
  void SetPageOffset(int value) { page_offset_ = value; }
  int TabWidth() const { return tab_width_; }
  void SetTabWidth(int value) { tab_width_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  // Not owned; cleared when the highlighter is destroyed.
  TCustomHighlighter* Highlighter() const { return highlighter_; }
  void SetHighlighter(TCustomHighlighter* value);

  TPrintLineEvent OnPrintLine;
  TPrintStatusEvent OnPrintStatus;
  // The date and time texts of a job; the platform gives its own formats.
  std::function<std::string()> OnGetDateText;
  std::function<std::string()> OnGetTimeText;

  // Takes highlighter, font, tab width, lines and selection from the editor.
  void CopyFromEditor(const TCustomEditor& editor);
  // The selection as CopyFromEditor captures it, in columns of the expanded lines.
  void SetSelection(bool has_selection, TDisplayCoord begin, TDisplayCoord end,
                    TSelectionMode mode);

  void PreparePages(IPrintSurface& surface);
  int GetPageCount();
  void PrintDocument() { PrintPageRange(1, -1); }
  void PrintPageRange(int first, int last);
  void PrintPageToCanvas(IPrintSurface& surface, int page_number);

  const TEditorPrinterInfo& PrinterInfo() const { return printer_info_; }
  int CharWidth() const { return char_width_; }
  int LineHeight() const { return line_height_; }
  int MaxColumns() const { return max_columns_; }
  int MaxWidth() const { return max_width_; }
  int PageCount() const { return page_count_; }
  bool Printing() const { return printing_; }
  // The 0-based index of each page's first line.
  const std::vector<int>& PageFirstLines() const { return page_first_lines_; }

 private:
  struct TSegment {
    int start;
    int length;
    THighlighterAttributes* attr;
  };
  void PrepareRanges();
  void CountPages();
  int LineNumberWidth() const;
  // The columns of a line that are printed, as (start, length) into the
  // line; in a line of characters one cell wide each, also its bytes.
  std::pair<int, int> PrintedPart(int index) const;
  bool InSelectionLines(int index) const;
  void RowsOf(std::string_view text, std::vector<int>& positions) const;
  void DrawPage(int page_number);
  void PrintLine(int index, int& y, int page_number);
  void DrawPiece(int x, int y, std::string_view text, TColor fg, TColor bg);
  // Columns [from, to) of a line whose characters vary in width; a wide
  // character cut by the edge is drawn whole and clipped.
  void DrawCellPiece(int x, int y, int index, int from, int to, TColor fg, TColor bg);
  // The line as columns: itself, or its cells (see TCellLine).
  std::string_view Columns(int index) const;
  // The rows of the printed part of a line, never starting inside a character.
  void RowsOfLine(int index, int from, int count, std::vector<int>& positions) const;
  bool ReportStatus(TPrintStatus status, int page_number);
  TFont ScaledFont() const;
  double FontScale() const;

  IPrinter* printer_;
  IPrintSurface* surface_ = nullptr;
  TEditorPrinterInfo printer_info_;
  int copies_ = 1;
  THeader header_;
  TFooter footer_;
  TEditorPrintMargins margins_;
  std::vector<std::string> lines_;
  // A line whose characters take other numbers of cells than bytes, as one
  // byte per cell (the character for ASCII, a placeholder for the others) and
  // the byte offset of the character covering each cell. Empty for the rest.
  struct TCellLine {
    std::string cells;
    std::vector<std::uint32_t> cell_byte;
  };
  std::vector<TCellLine> cell_lines_;
  const ICodePage* code_page_ = nullptr;
  std::vector<TLineState> states_;
  TFont font_;
  TFont print_font_;
  std::string title_, doc_title_;
  bool wrap_ = true, highlight_ = true, selected_only_ = false, colors_ = false;
  bool line_numbers_ = false, line_numbers_in_margin_ = false;
  int line_offset_ = 0, page_offset_ = 0, tab_width_ = 8;
  TColor color_ = clWhite;
  TCustomHighlighter* highlighter_ = nullptr;

  bool printing_ = false, abort_ = false;
  int char_width_ = 0, line_height_ = 0, max_columns_ = 0, max_width_ = 0, page_count_ = 0;
  std::vector<int> page_first_lines_;
  TColor default_color_ = clBlack;
  bool ranges_ready_ = false, pages_counted_ = false, use_highlight_ = false;
  bool has_selection_ = false;
  TDisplayCoord sel_begin_{}, sel_end_{};
  TSelectionMode sel_mode_ = smNormal;
};
