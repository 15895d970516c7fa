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

std::string EscapeXml(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t')
          out += '?';
        else
          out += c;
    }
  }
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
  std::string out = Declaration(encoding);
  for (const char* line :
       {"<xsl:stylesheet xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" version=\"1.0\">",
        "<xsl:template match=\"/\">", "<html>", "<body>", "<table align=\"center\">",
        "<tr bgcolor=\"SkyBlue\">"}) {
    out += line;
    out += kCrLf;
  }
  auto cells = [&](int row) {
    std::string line;
    for (int col = 0; col < kExportColumns; ++col) line += "<td>" + EscapeXml(grid.Cell(col, row)) + "</td>";
    return line;
  };
  out += cells(0) + "</tr>" + kCrLf;
  for (int row = 1; row < grid.RowCount(); ++row) out += "<tr>" + cells(row) + "</tr>" + kCrLf;
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
