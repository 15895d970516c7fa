#include "export.h"

#include "error.h"
#include "fileio.h"

namespace korval::eventbook {

namespace {

constexpr int kExportColumns = 4;
const char kCrLf[] = "\r\n";

std::string Declaration(const std::string& encoding) {
  return "<?xml version=\"1.0\" encoding=\"" + EscapeXml(encoding) + "\"?>" + kCrLf;
}

// A file name as a relative URI reference: "%" and "#" would read as an escape and as a fragment.
std::string UriReference(const std::string& name) {
  std::string out;
  for (char c : name) {
    if (c == '%')
      out += "%25";
    else if (c == '#')
      out += "%23";
    else
      out += c;
  }
  return out;
}

}  // namespace

std::string FileNamePart(const std::string& path) {
  const std::size_t cut = path.find_last_of("\\/:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string EncodingName(unsigned codePage) {
  switch (codePage) {
    case 874:
      return "windows-874";
    case 932:
      return "Shift_JIS";
    case 936:
      return "GBK";
    case 949:
      return "EUC-KR";
    case 950:
      return "Big5";
    case 20127:
      return "US-ASCII";
    case 28591:
      return "ISO-8859-1";
    case 65001:
      return "UTF-8";
    default:
      break;
  }
  return "windows-" + std::to_string(codePage);
}

void AppendEscapedXml(std::string& out, std::string_view text) {
  std::size_t run = 0;  // the start of the characters that go out as they are
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const char* entity = nullptr;
    switch (c) {
      case '&':
        entity = "&amp;";
        break;
      case '<':
        entity = "&lt;";
        break;
      case '>':
        entity = "&gt;";
        break;
      case '"':
        entity = "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t') entity = "?";
    }
    if (!entity) continue;
    out.append(text, run, i - run);
    out += entity;
    run = i + 1;
  }
  out.append(text, run, text.size() - run);
}

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  AppendEscapedXml(out, text);
  return out;
}

std::string ExportXmlText(const std::string& baseName, const std::string& encoding) {
  std::string out = Declaration(encoding);
  out += "<?mso-application progid=\"Excel.Sheet\"?>";
  out += kCrLf;
  out += "<?xml-stylesheet type=\"text/xsl\" href=\"" +
         EscapeXml(UriReference(FileNamePart(baseName) + ".xsl")) + "\"?>" + kCrLf;
  out += "<body>";
  out += kCrLf;
  out += "</body>";
  out += kCrLf;
  return out;
}

std::string ExportXslText(const forms::StringGrid& grid, const std::string& encoding) {
  static const char kRowStart[] = "<tr>", kRowEnd[] = "</tr>", kCellStart[] = "<td>", kCellEnd[] = "</td>";
  // One pass to size the text, so that an export of many thousand rows is written into one buffer.
  std::size_t size = 512;
  for (int row = 0; row < grid.RowCount(); ++row) {
    size += sizeof kRowStart + sizeof kRowEnd + kExportColumns * (sizeof kCellStart + sizeof kCellEnd);
    for (int col = 0; col < kExportColumns; ++col) size += grid.Cell(col, row).size();
  }
  std::string out;
  out.reserve(size);
  out += Declaration(encoding);
  for (const char* line :
       {"<xsl:stylesheet xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" version=\"1.0\">",
        "<xsl:template match=\"/\">", "<html>", "<body>", "<table align=\"center\">",
        "<tr bgcolor=\"SkyBlue\">"}) {
    out += line;
    out += kCrLf;
  }
  for (int row = 0; row < grid.RowCount(); ++row) {
    if (row > 0) out += kRowStart;  // the header row was opened above, with its colour
    for (int col = 0; col < kExportColumns; ++col) {
      out += kCellStart;
      AppendEscapedXml(out, grid.Cell(col, row));
      out += kCellEnd;
    }
    out += kRowEnd;
    out += kCrLf;
  }
  for (const char* line : {"</table>", "</body>", "</html>", "</xsl:template>", "</xsl:stylesheet>"}) {
    out += line;
    out += kCrLf;
  }
  return out;
}

void WriteExportFiles(const std::string& baseName, const forms::StringGrid& grid,
                      const std::string& encoding) {
  const std::string xml = baseName + ".xml", xsl = baseName + ".xsl";
  if (!fileio::ReplaceWhole(xml, ExportXmlText(baseName, encoding))) throw FileCreateError(xml);
  if (!fileio::ReplaceWhole(xsl, ExportXslText(grid, encoding))) throw FileCreateError(xsl);
}

}  // namespace korval::eventbook
