#pragma once
// The check made before a dropped or command-line file is opened: a macro file
// holds text only.
#include <cstddef>
#include <functional>

// Tab, LF, CR, Ctrl+Z and every byte from 32 up are text; all other control bytes are not.
bool IsPlainTextByte(unsigned char c);

// Reads the file through read(buffer, size) -> bytes read, 0 at the end, -1 on
// an input/output error, in blocks of 2048 bytes until the end or until a block
// held a bad byte. An empty file is plain text; a read error makes it not. A
// file that starts with a UTF-16 byte-order mark (FF FE or FE FF) is judged by
// its 16-bit characters instead of its bytes, with the same rule.
bool IsPlainTextStream(const std::function<long(char*, std::size_t)>& read);
