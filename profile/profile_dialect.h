#pragma once

#include <cstddef>

namespace profile {

// The rules by which a data file's text header, laid out as an initialisation
// file of sections and keys, is read.
enum class ProfileDialect {
  // cdverify's own rules, used on POSIX hosts:
  // - the text is the bytes before the first zero byte; a UTF-8 byte-order mark
  //   at its start is skipped;
  // - lines end at CR LF, LF or a lone CR;
  // - a line whose first non-blank character is ';' is a comment (a later ';'
  //   is part of a value);
  // - "[name]" starts a section; blanks and tabs around the name inside the
  //   brackets are trimmed (a missing ']' ends the name at the line's end);
  // - "key = value" gives a value; blanks and tabs around key and value are
  //   trimmed, and a value of two characters or more that begins and ends with
  //   the same quote (" or ') loses those two quotes; a line without '=' gives
  //   nothing, and keys before the first section belong to none;
  // - section and key names compare ignoring ASCII case; only the first section
  //   of a repeated name is searched, and the first of a repeated key wins;
  // - an integer is decimal: white space, an optional sign, digits up to the
  //   first non-digit, wrapping modulo 2^32; 0 when no digit comes.
  kPosix,
  // The rules of the Windows platform's private-profile calls
  // (GetPrivateProfileStringA, GetPrivateProfileIntA,
  // GetPrivateProfileSectionNamesA), so that the Windows build reads a header
  // exactly as they would:
  // - the whole file is text, zero bytes included (a name or value ends at its
  //   first zero byte), in the ANSI code page 1252; a text that starts with a
  //   UTF-8 byte-order mark is UTF-8, its characters handed out in code page
  //   1252 ('?' for what that lacks);
  // - lines end at any run of CR and LF; white space (blank, tab, LF, VT, FF,
  //   CR, the DOS end-of-file mark 0x1A) is trimmed at both ends of a line;
  // - a line that starts with '[' and has a ']' starts a section named by what
  //   lies between '[' and the last ']', white space trimmed; every other line is a key
  //   line, ';' lines included: the key is the text before its first '=' (white
  //   space before the '=' trimmed), the value what follows (white space after
  //   the '=' trimmed); a line without '=' is a key without a value;
  // - names compare ignoring ASCII case after the looked-up name is trimmed of
  //   white space; only the first section of a name is searched and the first
  //   of a repeated key wins; every section is listed, repeats included;
  // - a value that begins with a quote (" or ') and ends with the same one,
  //   two characters or more, loses them when it fits the reader's buffer;
  // - an integer is read from at most 29 characters of the value: characters up
  //   to the blank skipped, an optional sign, a "0x", "0o" or "0b" prefix for
  //   base 16, 8 or 2, digits of that base up to the first other character,
  //   wrapping modulo 2^32; an empty value gives the default.
  kWindows,
};

// The largest header text a reader looks at: bytes past it are never read.
inline constexpr std::size_t kMaxHeaderTextBytes = 16u << 20;

// True when the dialect's text ends at the first zero byte; else it is the whole
// file.
inline bool textEndsAtZeroByte(ProfileDialect dialect) { return dialect == ProfileDialect::kPosix; }

}  // namespace profile
