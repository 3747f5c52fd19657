#pragma once
// How a macro file's bytes are read and written. The macro interpreter decides
// a file's encoding this way: a byte-order mark (EF BB BF, FF FE, FE FF)
// decides; without one the file is UTF-8 when it has bytes above 127 and all of
// it is well-formed UTF-8, otherwise it is in the system's ANSI code page.
//
// A document keeps its text as bytes: the file's own bytes for ANSI, UTF-8 for
// every Unicode encoding. Encoding the decoded text again gives back the file
// byte for byte, whatever the file held:
// - UTF-8 with a byte-order mark but malformed bytes after it: the malformed
//   bytes stay in the text as they are (the editor shows each as one
//   replacement character) and are written back unchanged;
// - UTF-16 with a surrogate that has no partner: kept as its three-byte form
//   (see Utf8.h);
// - UTF-16 with an odd byte count: the last byte cannot be part of any
//   character; it is kept apart as the tail and written after the text;
// - NUL characters are ordinary characters (a NUL byte in the text).
#include <cstdint>
#include <string>
#include <string_view>

enum class TTextEncoding : std::uint8_t { Ansi, Utf8, Utf8Bom, Utf16LE, Utf16BE };

inline constexpr TTextEncoding kAllTextEncodings[] = {
    TTextEncoding::Ansi, TTextEncoding::Utf8, TTextEncoding::Utf8Bom, TTextEncoding::Utf16LE,
    TTextEncoding::Utf16BE};

// Every encoding but ANSI holds its text as UTF-8.
constexpr bool IsUnicodeEncoding(TTextEncoding e) { return e != TTextEncoding::Ansi; }

// The name shown to the user: "ANSI", "UTF-8", "UTF-8 BOM", "UTF-16 LE", "UTF-16 BE".
std::string_view TextEncodingName(TTextEncoding encoding);

// The byte-order mark written before the text (empty for ANSI and UTF-8).
std::string_view ByteOrderMark(TTextEncoding encoding);

// The encoding of a file's bytes, decided as the interpreter decides it. An
// empty file and a file of plain ASCII are ANSI.
TTextEncoding DetectTextEncoding(std::string_view bytes);

struct TDecodedText {
  TTextEncoding Encoding = TTextEncoding::Ansi;
  std::string Text;
  // Bytes after the text that are no character of the encoding (the odd last
  // byte of a UTF-16 file); EncodeText writes them back after the text.
  std::string Tail;
};

// Detects the encoding and decodes. ANSI and UTF-8 text is moved, not copied.
TDecodedText DecodeText(std::string bytes);

// Appends the encoded form of text (no byte-order mark). Bytes of a UTF-8 text
// that do not decode become the replacement character in UTF-16.
void AppendEncodedText(std::string& out, std::string_view text, TTextEncoding encoding);

// Byte-order mark, text and tail: the bytes of a file.
std::string EncodeText(std::string_view text, TTextEncoding encoding, std::string_view tail = {});
