#include "language/MacroCommands.h"

#include <cstring>

namespace {

struct TStructureWord {
  const char* name;
  TMacroCommand command;
};

// The commands that shape a macro.
constexpr TStructureWord kStructureWords[] = {
    {"if", TMacroCommand::If},
    {"then", TMacroCommand::Then},
    {"elseif", TMacroCommand::ElseIf},
    {"else", TMacroCommand::Else},
    {"endif", TMacroCommand::EndIf},
    {"for", TMacroCommand::For},
    {"next", TMacroCommand::Next},
    {"while", TMacroCommand::While},
    {"endwhile", TMacroCommand::EndWhile},
    {"do", TMacroCommand::Do},
    {"loop", TMacroCommand::Loop},
    {"until", TMacroCommand::Until},
    {"enduntil", TMacroCommand::EndUntil},
    {"break", TMacroCommand::Break},
    {"continue", TMacroCommand::Continue},
    {"goto", TMacroCommand::Goto},
    {"call", TMacroCommand::Call},
    {"include", TMacroCommand::Include},
    {"end", TMacroCommand::End},
    {"exit", TMacroCommand::Exit},
    {"return", TMacroCommand::Return},
};

// Every other command of the current interpreter.
// clang-format off
constexpr const char* kPlainCommands[] = {
    "basename", "beep", "bplusrecv", "bplussend", "bringupbox", "callmenu", "changedir",
    "checksum16", "checksum16file", "checksum32", "checksum32file", "checksum8", "checksum8file",
    "clearscreen", "clipb2var", "closesbox", "closett", "code2str", "connect", "crc16",
    "crc16file", "crc32", "crc32file", "cygconnect", "delpassword2", "delpassword", "dirname",
    "dirnamebox", "disconnect", "dispstr", "enablekeyb", "exec", "execcmnd", "expandenv",
    "fileclose", "fileconcat", "filecopy", "filecreate", "filedelete", "filelock", "filemarkptr",
    "filenamebox", "fileopen", "fileread", "filereadln", "filerename", "filesearch", "fileseek",
    "fileseekback", "filestat", "filestrseek2", "filestrseek", "filetruncate", "fileunlock",
    "filewrite", "filewriteln", "findclose", "findfirst", "findnext", "flushrecv",
    "foldercreate", "folderdelete", "foldersearch", "getdate", "getdir", "getenv", "getfileattr",
    "gethostname", "getipv4addr", "getipv6addr", "getmodemstatus", "getpassword2", "getpassword",
    "getspecialfolder", "gettime", "gettitle", "getttdir", "getttpos", "getver", "ifdefined",
    "inputbox", "int2str", "intdim", "ispassword2", "ispassword", "kmtfinish", "kmtget",
    "kmtrecv", "kmtsend", "listbox", "loadkeymap", "logautoclosemode", "logclose", "loginfo",
    "logopen", "logpause", "logrotate", "logstart", "logwrite", "makepath", "messagebox",
    "mpause", "passwordbox", "pause", "quickvanrecv", "quickvansend", "random", "recvfile",
    "recvln", "regexoption", "restoresetup", "rotateleft", "rotateright", "scprecv", "scpsend",
    "send", "sendbinary", "sendbreak", "sendbroadcast", "sendfile", "sendkcode", "sendln",
    "sendlnbroadcast", "sendlnmulticast", "sendmulticast", "sendtext", "setbaud", "setdate",
    "setdebug", "setdir", "setdlgpos", "setdtr", "setecho", "setenv", "setexitcode",
    "setfileattr", "setflowctrl", "setmulticastname", "setpassword2", "setpassword", "setrts",
    "setserialdelaychar", "setserialdelayline", "setspeed", "setsync", "settime", "settitle",
    "show", "showtt", "sprintf2", "sprintf", "statusbox", "str2code", "str2int", "strcompare",
    "strconcat", "strcopy", "strdim", "strinsert", "strjoin", "strlen", "strmatch", "strremove",
    "strreplace", "strscan", "strspecial", "strsplit", "strtrim", "testlink", "tolower",
    "toupper", "unlink", "uptime", "var2clipb", "wait4all", "wait", "waitevent", "waitln",
    "waitn", "waitrecv", "waitregex", "xmodemrecv", "xmodemsend", "yesnobox", "ymodemrecv",
    "ymodemsend", "zmodemrecv", "zmodemsend",
};
// clang-format on

// Reserved words that are not commands: the word operators and the system
// variables.
// clang-format off
constexpr const char* kOtherReservedWords[] = {
    "and", "or", "xor", "not", "inputstr", "matchstr", "paramcnt", "params", "result", "timeout",
    "mtimeout", "groupmatchstr1", "groupmatchstr2", "groupmatchstr3", "groupmatchstr4",
    "groupmatchstr5", "groupmatchstr6", "groupmatchstr7", "groupmatchstr8", "groupmatchstr9",
    "param1", "param2", "param3", "param4", "param5", "param6", "param7", "param8", "param9",
};
// clang-format on

// Whether word, lower-cased, equals the lower-case entry of its length (a
// byte above 127 never does).
bool EqualsLowered(std::string_view word, const char* entry) {
  for (std::size_t i = 0; i < word.size(); ++i) {
    unsigned c = static_cast<unsigned char>(word[i]);
    if (c - 'A' < 26u) c += 32;
    if (c != static_cast<unsigned char>(entry[i])) return false;
  }
  return true;
}

}  // namespace

std::string_view MacroCommandName(TMacroCommand command) {
  for (const TStructureWord& word : kStructureWords) {
    if (word.command == command) return word.name;
  }
  return "";
}

TMacroCommandSet::TMacroCommandSet() {
  for (const TStructureWord& word : kStructureWords) {
    Add(word.name, static_cast<std::uint8_t>(word.command));
  }
  for (const char* word : kPlainCommands)
    Add(word, static_cast<std::uint8_t>(TMacroCommand::Plain));
  for (const char* word : kOtherReservedWords) Add(word, kReservedOnly);
  Rebuild();
}

const TMacroCommandSet& TMacroCommandSet::Interpreter() {
  static const TMacroCommandSet set;
  return set;
}

void TMacroCommandSet::Add(std::string_view word, std::uint8_t kind) {
  std::string lower(word);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  words_.push_back(std::move(lower));
  kinds_.push_back(kind);
}

void TMacroCommandSet::AddWords(const std::vector<std::string>& words) {
  for (const std::string& word : words) {
    if (!word.empty() && word.size() <= kMaxWordLength) {
      Add(word, static_cast<std::uint8_t>(TMacroCommand::Plain));
    }
  }
  Rebuild();
}

std::uint32_t TMacroCommandSet::HashOf(std::string_view word) {
  // The length and the first and last two bytes, lower-cased, tell the
  // words of the language apart nearly always; the comparison settles the rest.
  auto lower = [&word](std::size_t i) {
    unsigned c = static_cast<unsigned char>(word[i]);
    return c - 'A' < 26u ? c + 32 : c;
  };
  const std::size_t n = word.size();
  const std::uint32_t key =
      (lower(0) | lower(n > 1 ? 1 : 0) << 8 | lower(n - 1) << 16 | lower(n > 1 ? n - 2 : 0) << 24) ^
      static_cast<std::uint32_t>(n) * 0x9E3779B9u;
  const std::uint64_t mixed = static_cast<std::uint64_t>(key) * 0xFF51AFD7ED558CCDull;
  return static_cast<std::uint32_t>(mixed >> 32);
}

const TMacroCommandSet::TSlot* TMacroCommandSet::SlotOf(std::string_view word) const {
  if (word.empty() || word.size() > max_length_) return nullptr;
  const std::uint32_t hash = HashOf(word);
  for (std::uint32_t s = hash & mask_;; s = (s + 1) & mask_) {
    const TSlot& slot = slots_[s];
    if (slot.length == 0) return nullptr;
    if (slot.hash == hash && slot.length == word.size() && EqualsLowered(word, slot.lower)) {
      return &slot;
    }
  }
}

void TMacroCommandSet::Rebuild() {
  // At most half full: a hit, the usual case, takes a probe or two.
  std::size_t capacity = 64;
  while (capacity < words_.size() * 2) capacity *= 2;
  slots_.assign(capacity, TSlot{});
  mask_ = static_cast<std::uint32_t>(capacity - 1);
  max_length_ = kMaxWordLength;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    const std::string& word = words_[i];
    if (SlotOf(word)) continue;  // the first entry keeps the word
    const std::uint32_t hash = HashOf(word);
    std::uint32_t s = hash & mask_;
    while (slots_[s].length != 0) s = (s + 1) & mask_;
    TSlot& slot = slots_[s];
    slot.hash = hash;
    slot.kind = kinds_[i];
    slot.length = static_cast<std::uint8_t>(word.size());
    std::memcpy(slot.lower, word.data(), word.size());
  }
}

std::optional<TMacroCommand> TMacroCommandSet::Find(std::string_view word) const {
  const TSlot* slot = SlotOf(word);
  if (!slot || slot->kind == kReservedOnly) return std::nullopt;
  return static_cast<TMacroCommand>(slot->kind);
}

bool TMacroCommandSet::IsReserved(std::string_view word) const { return SlotOf(word) != nullptr; }

std::vector<std::string> TMacroCommandSet::Words() const {
  std::vector<std::string> commands;
  for (std::size_t i = 0; i < words_.size(); ++i) {
    if (kinds_[i] != kReservedOnly) commands.push_back(words_[i]);
  }
  return commands;
}
