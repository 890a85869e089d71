#include "files/xml_text.h"

#include <cstdlib>

#include "text/ascii.h"
#include "text/valid_utf8.h"

namespace tezlo {

namespace {

// "_x" + four hex digits + "_" at `i`.
bool EscapeAt(std::string_view text, size_t i) {
  if (i + 7 > text.size() || text[i] != '_' || text[i + 1] != 'x' || text[i + 6] != '_')
    return false;
  for (size_t k = i + 2; k < i + 6; ++k) {
    if (HexDigitValue(text[k]) < 0) return false;
  }
  return true;
}

void AppendHexEscape(std::string& out, unsigned value) {
  static const char* digits = "0123456789ABCDEF";
  out += "_x";
  for (int shift = 12; shift >= 0; shift -= 4) out += digits[(value >> shift) & 0xF];
  out += '_';
}

}  // namespace

void AppendXmlText(std::string& out, std::string_view text, bool attribute) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto u = static_cast<unsigned char>(c);
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"':
        if (attribute) {
          out += "&quot;";
        } else {
          out += c;
        }
        break;
      case '\r': out += "&#13;"; break;
      case '\n':
        if (attribute) {
          out += "&#10;";
        } else {
          out += c;
        }
        break;
      case '\t':
        if (attribute) {
          out += "&#9;";
        } else {
          out += c;
        }
        break;
      case '_':
        if (EscapeAt(text, i)) {
          out += "_x005F_";
        } else {
          out += c;
        }
        break;
      default:
        if (u < 0x20) {
          AppendHexEscape(out, u);
        } else if (u < 0x80) {
          out += c;
        } else {
          // Ill-formed bytes cannot reach the file: they are written as U+FFFD. U+FFFE and
          // U+FFFF are not XML characters and are written escaped.
          const Utf8Step step = NextUtf8(text, i);
          if (step.codePoint < 0) {
            out += kReplacementCharacter;
          } else if (step.codePoint == 0xFFFE || step.codePoint == 0xFFFF) {
            AppendHexEscape(out, static_cast<unsigned>(step.codePoint));
          } else {
            out.append(text.data() + i, step.length);
          }
          i += step.length - 1;
        }
        break;
    }
  }
}

std::string DecodeEscapes(std::string_view text) {
  if (text.find("_x") == std::string_view::npos)
    return IsValidUtf8(text) ? std::string(text) : ValidUtf8(text);
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (EscapeAt(text, i)) {
      unsigned cp = 0;
      for (size_t k = i + 2; k < i + 6; ++k)
        cp = cp * 16 + static_cast<unsigned>(HexDigitValue(text[k]));
      if (cp >= 0xD800 && cp <= 0xDFFF)
        cp = kReplacementCodePoint;  // a lone surrogate is no character
      AppendUtf8(out, static_cast<char32_t>(cp));
      i += 6;
    } else {
      out += text[i];
    }
  }
  MakeValidUtf8(out);
  return out;
}

std::optional<std::string> DecodeEntities(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '&') {
      out += text[i];
      continue;
    }
    const size_t semi = text.find(';', i);
    if (semi == std::string_view::npos) return std::nullopt;
    const std::string_view entity = text.substr(i + 1, semi - i - 1);
    if (entity == "amp") out += '&';
    else if (entity == "lt") out += '<';
    else if (entity == "gt") out += '>';
    else if (entity == "quot") out += '"';
    else if (entity == "apos") out += '\'';
    else if (entity.size() > 1 && entity[0] == '#') {
      const bool hex = entity[1] == 'x';
      const std::string digits(entity.substr(hex ? 2 : 1));
      char* stop = nullptr;
      const unsigned long cp = std::strtoul(digits.c_str(), &stop, hex ? 16 : 10);
      if (digits.empty() || *stop != '\0' || cp == 0 || cp > 0x10FFFF ||
          (cp >= 0xD800 && cp < 0xE000))
        return std::nullopt;
      AppendUtf8(out, static_cast<char32_t>(cp));
    } else {
      return std::nullopt;
    }
    i = semi;
  }
  return out;
}

}  // namespace tezlo
