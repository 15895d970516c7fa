#include "export.h"

#include <array>
#include <cstring>

#include "error.h"
#include "fileio.h"

namespace korval::eventbook {

namespace {

constexpr int kExportColumns = 4;
const char kCrLf[] = "\r\n";

// The entity that stands for a character in XML text; nothing for a character that goes out as it is.
// Control characters that XML cannot hold become "?".
const char* EntityFor(char c) {
  switch (c) {
    case '&':
      return "&amp;";
    case '<':
      return "&lt;";
    case '>':
      return "&gt;";
    case '"':
      return "&quot;";
    default:
      return static_cast<unsigned char>(c) < 0x20 && c != '\t' ? "?" : nullptr;
  }
}

// Whether EntityFor replaces a character, by its byte value.
const std::array<bool, 256> kReplaced = [] {
  std::array<bool, 256> table{};
  for (std::size_t c = 0; c < table.size(); ++c) table[c] = EntityFor(static_cast<char>(c)) != nullptr;
  return table;
}();

std::size_t EscapedSize(std::string_view text) {
  std::size_t size = text.size();
  for (char c : text)
    if (kReplaced[static_cast<unsigned char>(c)]) size += std::strlen(EntityFor(c)) - 1;
  return size;
}

// Writes `text` at `at`, which has room for it, and returns the end; PutEscaped writes it escaped, in
// EscapedSize(text) characters.
char* Put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}

char* PutEscaped(char* at, std::string_view text) {
  for (char c : text) {
    if (kReplaced[static_cast<unsigned char>(c)])
      at = Put(at, EntityFor(c));
    else
      *at++ = c;
  }
  return at;
}

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
  std::string out(EscapedSize(text), '\0');
  PutEscaped(&out[0], text);
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
  std::string head = Declaration(encoding), foot;
  for (const char* line :
       {"<xsl:stylesheet xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" version=\"1.0\">",
        "<xsl:template match=\"/\">", "<html>", "<body>", "<table align=\"center\">",
        "<tr bgcolor=\"SkyBlue\">"}) {
    head += line;
    head += kCrLf;
  }
  for (const char* line : {"</table>", "</body>", "</html>", "</xsl:template>", "</xsl:stylesheet>"}) {
    foot += line;
    foot += kCrLf;
  }
  // The header row was opened by the last line of the head, with its colour: its cells begin without a row
  // tag. Every other row is a line of its own.
  constexpr std::string_view kHeaderStart = "<td>", kRowStart = "<tr><td>", kBetween = "</td><td>",
                             kRowEnd = "</td></tr>\r\n";
  // One pass to size the sheet and one to write it, so that a few hundred thousand rows go into one buffer.
  std::size_t size = head.size() + foot.size();
  for (int row = 0; row < grid.RowCount(); ++row) {
    size += (row == 0 ? kHeaderStart : kRowStart).size() + (kExportColumns - 1) * kBetween.size() +
            kRowEnd.size();
    for (int col = 0; col < kExportColumns; ++col) size += EscapedSize(grid.Cell(col, row));
  }
  std::string out(size, '\0');
  char* at = Put(&out[0], head);
  for (int row = 0; row < grid.RowCount(); ++row) {
    at = Put(at, row == 0 ? kHeaderStart : kRowStart);
    for (int col = 0; col < kExportColumns; ++col) {
      if (col > 0) at = Put(at, kBetween);
      at = PutEscaped(at, grid.Cell(col, row));
    }
    at = Put(at, kRowEnd);
  }
  Put(at, foot);
  return out;
}

void WriteExportFiles(const std::string& baseName, const forms::StringGrid& grid,
                      const std::string& encoding) {
  const std::string xml = baseName + ".xml", xsl = baseName + ".xsl";
  if (!fileio::ReplaceWhole(xml, ExportXmlText(baseName, encoding))) throw FileCreateError(xml);
  if (!fileio::ReplaceWhole(xsl, ExportXslText(grid, encoding))) throw FileCreateError(xsl);
}

}  // namespace korval::eventbook
