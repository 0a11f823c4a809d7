// PdfText: the text lines of a PDF file, page by page, as poppler's pdftotext reads them.
#pragma once

#include <QString>
#include <QStringList>
#include <filesystem>
#include <optional>
#include <vector>

namespace zentrix::test {

/// One QStringList per page, each line with trailing blanks removed, empty lines kept (the
/// page's trailing empty lines dropped). Nothing when pdftotext is absent or fails.
std::optional<std::vector<QStringList>> PdfPages(const std::filesystem::path& pdf);

/// True when pdftotext was found at configure time.
bool HavePdfToText();

} // namespace zentrix::test
