// LinePrinter: plain text lines, one below the other, onto a printer or any paged paint device.
#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>

class QPagedPaintDevice;

namespace zentrix::ui {

/// Works like a line printer: every line starts at the left edge of the printable area below the
/// previous one, in the device's default font; when the next line does not fit, a new page
/// begins. The printer's own settings (font, margins, paper) are left as they are.
class LinePrinter
{
public:
    enum class Failure
    {
        None,
        CannotStart,    ///< the device refused to begin the document (printer gone, file not writable)
        NewPageFailed,  ///< the device could not start another page
        PrinterError,   ///< the printer reported an error during or at the end of the job, or vanished
        PrinterStopped, ///< the job went to a print queue that has stopped
    };

    explicit LinePrinter(QPagedPaintDevice& device);
    ~LinePrinter();
    LinePrinter(const LinePrinter&) = delete;
    LinePrinter& operator=(const LinePrinter&) = delete;

    /// Begins the document. False when the device cannot be painted on.
    bool begin();

    /// Prints `text` and ends the line. A carriage return or line feed inside the text ends the
    /// line there, so "header\r" gives the header and then an empty line.
    bool printLine(const QString& text);

    /// Ends the document, which releases the job to the printer. True when every line went out.
    bool end();

    Failure failure() const { return m_failure; }

    /// Prints `lines` one below the other as one document on `device`; the failure, None when
    /// every line went out.
    static Failure PrintDocument(QPagedPaintDevice& device, const QStringList& lines);

    /// What the user is told about a failure, in Japanese; empty for None.
    static QString DescribeFailure(Failure failure);

private:
    bool printSegment(const QString& segment);
    bool deviceFailed() const;
    void fail(Failure failure);

    QPagedPaintDevice& m_device;
    QPainter m_painter;
    qreal m_lineSpacing = 0;
    qreal m_ascent = 0;
    qreal m_y = 0;
    Failure m_failure = Failure::None;
};

} // namespace zentrix::ui
