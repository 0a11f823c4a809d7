// PrintDialog: QPrintDialog with the results window's options, or the test interceptor.
#include "ui/results_window/PrintDialog.h"

#include <QPrintDialog>
#include <QPrinter>

namespace zentrix::ui {

std::function<bool(QPrinter&)>& PrintDialog::interceptor()
{
    static std::function<bool(QPrinter&)> hook;
    return hook;
}

void PrintDialog::setInterceptor(std::function<bool(QPrinter&)> hook)
{
    interceptor() = std::move(hook);
}

bool PrintDialog::exec(QPrinter& printer, QWidget* parent)
{
    printer.setCopyCount(1);
    if (auto& hook = interceptor())
        return hook(printer);

    QPrintDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("PrintDialog"));
    // No PrintToFile: the choice is not offered. No page range or selection: the job is always
    // the whole list, so the dialog offers nothing that printing would ignore.
    dialog.setOptions(QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return HasSomewhereToPrint(printer);
}

bool PrintDialog::HasSomewhereToPrint(const QPrinter& printer)
{
    // Without any installed printer the dialog can still be confirmed, leaving a PDF printer with
    // no file (printing to a file is not offered).
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return !printer.outputFileName().isEmpty();
    return !printer.printerName().isEmpty();
}

} // namespace zentrix::ui
