#include "files/style_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "files/number_formats.h"
#include "files/styles_xml.h"
#include "files/palette.h"
#include "files/xml_text.h"
#include "memory/number_format_names.h"

namespace tezlo {

namespace {

constexpr size_t kMaxStyleEntries = 1 << 20;

int IntAttr(const XmlAttrs& attrs, std::string_view name, int fallback = 0) {
  const auto v = attrs.Get(name);
  if (!v) return fallback;
  int out = fallback;
  const auto r = std::from_chars(v->data(), v->data() + v->size(), out);
  return r.ec == std::errc() ? out : fallback;
}

bool BoolAttr(const XmlAttrs& attrs, std::string_view name) {
  const auto v = attrs.Get(name);
  return v && (*v == "1" || *v == "true");
}

bool Under(const std::vector<std::string>& path, std::string_view parent) {
  return path.size() >= 2 && path[path.size() - 2] == parent;
}

}  // namespace

StyleReader::Color StyleReader::ReadColor(const XmlAttrs& attrs) {
  Color c;
  if (const auto rgb = attrs.Get("rgb")) {
    if (const auto v = ParseRgb(*rgb)) {
      c.kind = Color::Kind::Rgb;
      c.rgb = *v;
    }
  } else if (attrs.Get("indexed")) {
    c.kind = Color::Kind::Indexed;
    c.number = IntAttr(attrs, "indexed");
  } else if (attrs.Get("theme")) {
    c.kind = Color::Kind::Theme;
    c.number = IntAttr(attrs, "theme");
    if (const auto t = attrs.Get("tint")) c.tint = std::strtod(std::string(*t).c_str(), nullptr);
  } else if (BoolAttr(attrs, "auto")) {
    c.kind = Color::Kind::Auto;
  }
  return c;
}

void StyleReader::Start(std::string_view, std::string_view name, const XmlAttrs& attrs) {
  path_.emplace_back(name);
  if (name == "numFmt" && Under(path_, "numFmts")) {
    if (numFmts_.size() < kMaxStyleEntries) {
      numFmts_.emplace_back(IntAttr(attrs, "numFmtId", -1),
                            DecodeEscapes(attrs.Get("formatCode").value_or("General")));
    }
  } else if (name == "fill" && Under(path_, "fills")) {
    if (fills_.size() < kMaxStyleEntries) fills_.emplace_back();
  } else if (name == "patternFill" && !fills_.empty()) {
    fills_.back().pattern = std::string(attrs.Get("patternType").value_or(""));
  } else if (name == "fgColor" && !fills_.empty() && Under(path_, "patternFill")) {
    fills_.back().fg = ReadColor(attrs);
  } else if (name == "gradientFill" && !fills_.empty()) {
    fills_.back().gradient = true;
  } else if (name == "xf" && Under(path_, "cellXfs")) {
    if (xfs_.size() < kMaxStyleEntries) {
      Xf xf;
      xf.numFmtId = IntAttr(attrs, "numFmtId");
      xf.fontId = IntAttr(attrs, "fontId");
      xf.fillId = IntAttr(attrs, "fillId");
      xf.borderId = IntAttr(attrs, "borderId");
      xf.xfId = IntAttr(attrs, "xfId");
      xf.quotePrefix = BoolAttr(attrs, "quotePrefix");
      xfs_.push_back(xf);
    }
  } else if (name == "rgbColor" && Under(path_, "indexedColors")) {
    if (customPalette_.size() < 256)
      customPalette_.push_back(ParseRgb(attrs.Get("rgb").value_or("")).value_or(0));
  }
}

void StyleReader::End(std::string_view, std::string_view) {
  if (!path_.empty()) path_.pop_back();
}

int StyleReader::ColorIndexOf(const Color& c) const {
  switch (c.kind) {
    case Color::Kind::Rgb: return NearestColorIndex(c.rgb);
    case Color::Kind::Indexed:
      if (!customPalette_.empty() && c.number >= 0 &&
          c.number < static_cast<int>(customPalette_.size())) {
        return NearestColorIndex(customPalette_[static_cast<size_t>(c.number)]);
      }
      return ColorIndexOfIndexed(c.number);
    case Color::Kind::Theme:
      if (const auto rgb = ThemeColor(c.number, c.tint)) return NearestColorIndex(*rgb);
      return 0;
    case Color::Kind::Auto:
    case Color::Kind::None:
      return 1;  // a solid fill without a colour shows the automatic foreground, black
  }
  return 0;
}

std::vector<CellStyle> StyleReader::Resolve() {
  // A palette listed in the file is custom only where it differs from the default one (some
  // writers list the default).
  bool custom = false;
  for (size_t i = 0; i < customPalette_.size(); ++i) {
    const int index = ColorIndexOfIndexed(static_cast<int>(i));
    if (index != 0 && customPalette_[i] != PaletteColor(index)) custom = true;
  }
  if (!custom) customPalette_.clear();
  std::vector<CellStyle> out;
  if (xfs_.empty()) xfs_.push_back(Xf{});
  out.reserve(xfs_.size());
  for (const Xf& xf : xfs_) {
    CellStyle s;
    bool found = false;
    for (const auto& [id, code] : numFmts_) {
      if (id == xf.numFmtId) {
        s.numberFormat = code;
        found = true;
      }
    }
    // An id without a fixed text (a locale's own format) shows as General here; the file
    // keeps it.
    if (!found) s.numberFormat = BuiltinNumberFormat(xf.numFmtId).value_or("General");
    s.isDate = IsDateFormat(s.numberFormat);
    s.quotePrefix = xf.quotePrefix;
    if (xf.fillId >= 0 && xf.fillId < static_cast<int>(fills_.size())) {
      const Fill& f = fills_[static_cast<size_t>(xf.fillId)];
      if (f.pattern == "solid" ||
          (!f.gradient && !f.pattern.empty() && f.pattern != "none" && xf.fillId != 1)) {
        s.colorIndex = ColorIndexOf(f.fg);
      }
    }
    out.push_back(std::move(s));
  }
  resolved_ = out;
  return out;
}

std::shared_ptr<const FileStyles> StyleReader::Keep(std::string xml) {
  if (resolved_.empty()) Resolve();
  auto kept = std::make_shared<FileStyles>();
  kept->styles = resolved_;
  kept->customPalette = !customPalette_.empty();
  kept->fillCount = static_cast<int>(fills_.size());
  for (const auto& [id, code] : numFmts_) kept->maxNumFmtId = std::max(kept->maxNumFmtId, id);
  std::vector<std::string> texts = CellXfTexts(xml);
  if (texts.size() != xfs_.size()) texts.assign(xfs_.size(), std::string());
  for (size_t i = 0; i < xfs_.size(); ++i) {
    const Xf& x = xfs_[i];
    kept->xfs.push_back(
        KeptXf{std::move(texts[i]), x.numFmtId, x.fontId, x.fillId, x.borderId, x.xfId});
  }
  kept->xml = std::move(xml);
  return kept;
}

}  // namespace tezlo
