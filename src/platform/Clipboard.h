#pragma once
// The system clipboard as the editor uses it: plain text and private formats
// registered by name, each format holding a block of bytes.
#include <optional>
#include <string>
#include <string_view>

class IClipboard {
 public:
  // The plain-text format (single-byte text ending with a NUL byte).
  static constexpr unsigned kTextFormat = 1;
  // The Unicode text format (UTF-16, little-endian, ending with a NUL unit).
  static constexpr unsigned kUnicodeTextFormat = 13;

  virtual ~IClipboard() = default;
  // The number of a private format; the same name gives the same number.
  // 0 when it cannot be registered.
  virtual unsigned RegisterFormat(const std::string& name) = 0;
  // Open before writing or reading, close afterwards. Open may fail (another
  // program holds the clipboard).
  virtual bool Open() = 0;
  virtual void Close() = 0;
  // Removes every format (the clipboard must be open).
  virtual bool Empty() = 0;
  // Puts a copy of the bytes under a format (the clipboard must be open).
  virtual bool SetData(unsigned format, std::string_view bytes) = 0;
  virtual bool HasFormat(unsigned format) = 0;
  // The bytes held under a format; nullopt when absent or when the block
  // cannot be read (the clipboard must be open).
  virtual std::optional<std::string> GetData(unsigned format) = 0;
};
