#include "files/rich_text.h"

#include "files/workbook_file.h"
#include "files/xml_reader.h"
#include "files/xml_text.h"
#include "files/zip_package.h"

namespace tezlo {

namespace {

// Joins the text of the <t> elements outside phonetic runs, and notes any element outside the
// main namespace, and any item beside the one the runs were put in.
class ShownText final : public XmlHandler {
 public:
  void Start(std::string_view ns, std::string_view name, const XmlAttrs&) override {
    foreign_ = foreign_ || ns != kMainNs || (++depth_ == 2 && ++items_ > 1);
    if (name == "rPh") ++phonetic_;
    if (name == "t" && phonetic_ == 0) inText_ = true;
  }
  void End(std::string_view, std::string_view name) override {
    --depth_;
    if (name == "rPh") --phonetic_;
    if (name == "t") inText_ = false;
  }
  void Text(std::string_view text) override {
    if (inText_) text_ += text;
  }
  bool Foreign() const { return foreign_; }
  const std::string& Joined() const { return text_; }

 private:
  std::string text_;
  int phonetic_ = 0;
  int depth_ = 0;
  int items_ = 0;
  bool inText_ = false;
  bool foreign_ = false;
};

}  // namespace

std::optional<std::string> RichTextShown(std::string_view runs) {
  // The runs inside the item as the part we write will hold them. A source that spelt them with
  // a prefix its own root declared ("x:r") leaves that prefix undeclared here: the parser
  // refuses it, and the caller writes the text plain.
  std::string item("<sst xmlns=\"");
  item += kMainNs;
  item += "\"><si>";
  item += runs;
  item += "</si></sst>";
  ShownText shown;
  try {
    ParseXmlBytes(item, "formatted text", shown);
  } catch (const FileError&) {
    return std::nullopt;
  }
  if (shown.Foreign()) return std::nullopt;
  return DecodeEscapes(shown.Joined());
}

}  // namespace tezlo
