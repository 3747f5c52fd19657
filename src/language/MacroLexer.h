#pragma once
// Splits one macro line into the tokens the interpreter reads: words, numbers,
// strings (quoted text and #13-style character codes, joined when nothing
// stands between them), operators and brackets. Comments (";" to the end of
// the line, "/* */" anywhere, also over several lines) count as blanks.
#include <cstdint>
#include <string_view>

enum class TMacroTokenKind : std::uint8_t {
  End,
  Word,      // letter or "_", then letters, digits and "_"
  Number,    // decimal digits, or "$" and hexadecimal digits
  String,    // 'text', "text", #13, #$0d, and runs of them
  Operator,  // + - * / % = == <> != < > <= >= && || ! ~ & | ^ << >> >>> and "x=" forms
  OpenParen,
  CloseParen,
  OpenBracket,
  CloseBracket,
  Other,  // any other single byte
};

struct TMacroToken {
  TMacroTokenKind kind = TMacroTokenKind::End;
  int start = 0;  // byte offset in the line
  int length = 0;
};

class TMacroLexer {
 public:
  // text: one line without its line break; it ends at its first NUL (Text()
  // is cut there once the lexer has come to it).
  // in_comment: the line starts inside a "/*" comment of an earlier line.
  TMacroLexer(std::string_view text, bool in_comment);

  TMacroToken Next();
  // The next token, without moving on.
  TMacroToken Peek();
  // Moves back to a token start returned earlier.
  void Seek(int position) { pos_ = position; }
  // Skips blanks and comments; the offset of the next token, or the line's
  // length at its end.
  int SkipBlanks();
  // Consumes the rest of the line, noticing only strings and comments.
  void SkipRest();
  // Whether the next token is "[" or an operator holding "=" (what makes a
  // statement that starts with a word an assignment). Skips blanks.
  bool AtAssigningOperator();

  std::string_view Text() const { return {text_, static_cast<std::size_t>(size_)}; }
  std::string_view TextOf(const TMacroToken& token) const {
    return {text_ + token.start, static_cast<std::size_t>(token.length)};
  }
  // The line ends inside a "/*" comment.
  bool CommentOpen() const { return comment_open_; }
  // Where that comment began in this line; -1 when it began on an earlier one.
  int CommentStart() const { return comment_start_; }
  // The opening quote of a string that the line ends before closing; -1 if none.
  int UnterminatedString() const { return unterminated_; }

 private:
  // Skips the comment whose "/*" starts at p (or that is open at p when the
  // line starts inside one, opened = false); returns the offset after "*/",
  // or the line's end when it stays open.
  int SkipComment(int p, bool opened);
  // The end of the quoted text whose quote is at p; the line's end when it
  // is not closed (and the string is noted as unterminated).
  int SkipQuoted(int p);
  // The end of the character code "#..." at p, or p when there is none.
  int SkipCharCode(int p) const;
  int OperatorLength(int p) const;

  const char* text_;
  int size_;
  int pos_ = 0;
  bool comment_open_ = false;
  int comment_start_ = -1;
  int unterminated_ = -1;
};
