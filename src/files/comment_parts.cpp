#include "files/comment_parts.h"

#include "host/a1_address.h"
#include "files/xml_text.h"

namespace tezlo {

std::string CommentsXml(const std::vector<CommentBox>& comments) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
      "<comments xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<authors><author>Tezlo</author></authors><commentList>";
  for (const CommentBox& c : comments) {
    out += "<comment ref=\"";
    AppendCellRef(out, c.cell);
    out += "\" authorId=\"0\"><text><t xml:space=\"preserve\">";
    AppendXmlText(out, *c.text);
    out += "</t></text></comment>";
  }
  out += "</commentList></comments>";
  return out;
}

std::string CommentBoxesVml(const std::vector<CommentBox>& comments, int sheetNumber) {
  std::string out =
      "<xml xmlns:v=\"urn:schemas-microsoft-com:vml\" "
      "xmlns:o=\"urn:schemas-microsoft-com:office:office\" "
      "xmlns:x=\"urn:schemas-microsoft-com:office:excel\">"
      "<o:shapelayout v:ext=\"edit\"><o:idmap v:ext=\"edit\" data=\"" +
      std::to_string(sheetNumber) +
      "\"/></o:shapelayout>"
      "<v:shapetype id=\"_x0000_t202\" coordsize=\"21600,21600\" o:spt=\"202\" "
      "path=\"m,l,21600r21600,l21600,xe\">"
      "<v:stroke joinstyle=\"miter\"/><v:path gradientshapeok=\"t\" "
      "o:connecttype=\"rect\"/></v:shapetype>";
  int shape = sheetNumber * 1024;
  for (const CommentBox& c : comments) {
    const int row = c.cell.row - 1;
    const int col = c.cell.col - 1;
    out +=
        "<v:shape id=\"_x0000_s" + std::to_string(++shape) +
        "\" type=\"#_x0000_t202\" style=\"position:absolute;margin-left:59.25pt;margin-top:1.5pt;"
        "width:108pt;height:59.25pt;z-index:1;visibility:hidden\" fillcolor=\"#ffffe1\" "
        "o:insetmode=\"auto\">"
        "<v:fill color2=\"#ffffe1\"/><v:shadow on=\"t\" color=\"black\" obscured=\"t\"/>"
        "<v:path o:connecttype=\"none\"/><v:textbox style=\"mso-direction-alt:auto\">"
        "<div style=\"text-align:left\"></div></v:textbox>"
        "<x:ClientData ObjectType=\"Note\"><x:MoveWithCells/><x:SizeWithCells/><x:Anchor>" +
        std::to_string(col + 1) + ", 15, " + std::to_string(row > 0 ? row - 1 : 0) + ", 10, " +
        std::to_string(col + 3) + ", 15, " + std::to_string(row + 3) +
        ", 4</x:Anchor><x:AutoFill>False</x:AutoFill><x:Row>" + std::to_string(row) +
        "</x:Row><x:Column>" + std::to_string(col) + "</x:Column></x:ClientData></v:shape>";
  }
  out += "</xml>";
  return out;
}

}  // namespace tezlo
