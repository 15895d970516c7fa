#pragma once
// The export of the event list: an XML file that holds no data and names its style sheet, and the XSL style
// sheet of the same base name that holds the whole grid as an HTML table. Lines end with CR LF; the texts
// stay in the system's ANSI code page, which both files declare as their encoding.
#include <string>
#include <string_view>

#include "controls.h"

namespace korval::eventbook {

// The name part of a path: the text after its last "\", "/" or drive colon.
std::string FileNamePart(const std::string& path);

// The encoding name an XML declaration gives for a Windows ANSI code page.
std::string EncodingName(unsigned codePage);

// Text made safe as XML character data or as an attribute value: "&", "<", ">" and the double quote become
// entity references, and control characters that XML cannot hold become "?".
std::string EscapeXml(std::string_view text);

// The XML file: the declaration, the spreadsheet application hint, the style-sheet reference (the base name's
// file-name part followed by ".xsl", without any folder) and an empty body.
std::string ExportXmlText(const std::string& baseName, const std::string& encoding);

// The XSL file: the grid's header row on a sky-blue row, then one table row for each grid row from row 1 to
// the last, four cells each.
std::string ExportXslText(const forms::StringGrid& grid, const std::string& encoding);

// Writes baseName + ".xml" and then baseName + ".xsl", each replacing a file of that name. A file that cannot
// be written throws FileCreateError with its name, before the next file is begun.
void WriteExportFiles(const std::string& baseName, const forms::StringGrid& grid,
                      const std::string& encoding);

}  // namespace korval::eventbook
