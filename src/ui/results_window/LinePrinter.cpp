// LinePrinter: QPainter text lines with automatic page breaks.
#include "ui/results_window/LinePrinter.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace zentrix::ui {
namespace {

enum class Queue
{
    NotASystemPrinter,
    Ready,
    Stopped,
    Gone,
};

/// The state of the system print queue behind `device`, asked afresh. The spooler takes a job
/// without complaint even when its queue has stopped or vanished, so this is the only way to
/// hear of it.
Queue QueueOf(const QPagedPaintDevice& device)
{
    const auto* printer = dynamic_cast<const QPrinter*>(&device);
    if (!printer || printer->outputFormat() != QPrinter::NativeFormat)
        return Queue::NotASystemPrinter;
    const QPrinterInfo info = QPrinterInfo::printerInfo(printer->printerName());
    if (info.isNull())
        return Queue::Gone;
    return info.state() == QPrinter::Error ? Queue::Stopped : Queue::Ready;
}

} // namespace

LinePrinter::LinePrinter(QPagedPaintDevice& device)
    : m_device(device)
{
}

LinePrinter::~LinePrinter()
{
    if (m_painter.isActive())
        m_painter.end();
}

bool LinePrinter::begin()
{
    if (QueueOf(m_device) == Queue::Gone || !m_painter.begin(&m_device) || deviceFailed()) {
        fail(Failure::CannotStart);
        return false;
    }
    // The painter starts with the device's default font; the lines keep it.
    const QFontMetricsF metrics(m_painter.font(), &m_device);
    m_lineSpacing = metrics.lineSpacing();
    m_ascent = metrics.ascent();
    m_y = 0;
    return true;
}

bool LinePrinter::printLine(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    const QStringList segments = text.split(lineBreak);
    for (const QString& segment : segments) {
        if (!printSegment(segment))
            return false;
    }
    return true;
}

bool LinePrinter::printSegment(const QString& segment)
{
    if (m_failure != Failure::None || !m_painter.isActive())
        return false;
    // A line taller than the page still goes out once rather than asking for pages forever.
    if (m_y > 0 && m_y + m_lineSpacing > m_device.height()) {
        if (!m_device.newPage() || deviceFailed()) {
            fail(Failure::NewPageFailed);
            return false;
        }
        m_y = 0;
    }
    if (!segment.isEmpty())
        m_painter.drawText(QPointF(0, m_y + m_ascent), segment);
    m_y += m_lineSpacing;
    if (deviceFailed()) {
        fail(Failure::PrinterError);
        return false;
    }
    return true;
}

bool LinePrinter::end()
{
    if (!m_painter.isActive())
        return false;
    const bool ended = m_painter.end();
    if (m_failure != Failure::None)
        return false;
    if (!ended || deviceFailed())
        fail(Failure::PrinterError);
    else if (const Queue queue = QueueOf(m_device); queue == Queue::Gone)
        fail(Failure::PrinterError);
    else if (queue == Queue::Stopped)
        fail(Failure::PrinterStopped);
    return m_failure == Failure::None;
}

bool LinePrinter::deviceFailed() const
{
    const auto* printer = dynamic_cast<const QPrinter*>(&m_device);
    return printer && printer->printerState() == QPrinter::Error;
}

void LinePrinter::fail(Failure failure)
{
    if (m_failure == Failure::None)
        m_failure = failure;
    // Abort rather than end: a half-made job must not reach the printer as if it were whole.
    if (m_painter.isActive()) {
        if (auto* printer = dynamic_cast<QPrinter*>(&m_device))
            printer->abort();
        m_painter.end();
    }
}

LinePrinter::Failure LinePrinter::PrintDocument(QPagedPaintDevice& device, const QStringList& lines)
{
    LinePrinter out(device);
    if (out.begin()) {
        bool printing = true;
        for (qsizetype i = 0; printing && i < lines.size(); ++i)
            printing = out.printLine(lines[i]);
        out.end();
    }
    return out.failure();
}

QString LinePrinter::DescribeFailure(Failure failure)
{
    switch (failure) {
    case Failure::CannotStart:
        return QStringLiteral("印刷を開始できませんでした。プリンターの接続と設定を確認して下さい。");
    case Failure::NewPageFailed:
    case Failure::PrinterError:
        return QStringLiteral("印刷中にプリンターでエラーが発生しました。予想番号は最後まで印刷されていない"
                              "可能性があります。プリンターの状態を確認して下さい。");
    case Failure::PrinterStopped:
        return QStringLiteral("プリンターが停止しています。予想番号はプリンターの待ち行列に送りましたが、"
                              "まだ印刷されていません。プリンターの状態を確認して下さい。");
    case Failure::None:
        break;
    }
    return {};
}

} // namespace zentrix::ui
