#pragma once
// The calculation sheet written out: plain text (what Copy puts on the clipboard), one HTML
// page (saved as it is, shown in the preview and drawn into the PDF and onto paper), and JSON
// (the same content as data, keyed like the batch command's output so that sheets can be
// filed and compared).

#include <string>

#include "analysis/sheet.h"

namespace quarvell::analysis {

std::string PlainText(const Sheet& sheet);
std::string Html(const Sheet& sheet);
// Indented, UTF-8, ending with a line break.
std::string Json(const Sheet& sheet);

// The format a file name asks for by its extension (any case); Unknown for any other.
enum class SheetFormat { Unknown, Json, Html, Pdf };
SheetFormat FormatOfPath(const std::string& path);

}  // namespace quarvell::analysis
