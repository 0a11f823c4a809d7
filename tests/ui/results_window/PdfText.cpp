// PdfText: runs pdftotext -layout and splits its output at form feeds and line ends.
#include "PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace zentrix::test {

bool HavePdfToText()
{
    return !QString::fromUtf8(ZENTRIX_PDFTOTEXT).isEmpty();
}

std::optional<std::vector<QStringList>> PdfPages(const std::filesystem::path& pdf)
{
    if (!HavePdfToText())
        return std::nullopt;
    QProcess process;
    process.start(QString::fromUtf8(ZENTRIX_PDFTOTEXT),
                  {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
                   QString::fromStdString(pdf.string()), QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return std::nullopt;

    QStringList pageTexts = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\f'));
    // pdftotext ends the last page with a form feed too.
    if (!pageTexts.isEmpty() && pageTexts.last().trimmed().isEmpty())
        pageTexts.removeLast();
    static const QRegularExpression trailingBlanks(QStringLiteral("\\s+$"));
    std::vector<QStringList> pages;
    for (const QString& pageText : pageTexts) {
        QStringList lines = pageText.split(QLatin1Char('\n'));
        for (QString& line : lines)
            line.remove(trailingBlanks);
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        pages.push_back(lines);
    }
    return pages;
}

} // namespace zentrix::test
