// PrintDialog: QPrintDialog with the results window's options, or the test interceptor.
#include "ui/results_window/PrintDialog.h"

#include "ui/common/MessageBox.h"

#include <QAbstractButton>
#include <QEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace zentrix::ui {
namespace {

// Qt's dialog on Linux shows its page-range choices ("Pages from … to", "Pages") even when the
// page-range option is off, and answers a range it cannot read with an English box. Printing
// always sends the whole list, so the choices go: "all pages" stays selected and nothing else
// can be chosen. The dialog sets its controls up as it is shown, so they are hidden then.
class PageRangeHider final : public QObject
{
public:
    explicit PageRangeHider(QPrintDialog& dialog)
        : QObject(&dialog)
        , m_dialog(dialog)
    {
        dialog.installEventFilter(this);
        hide();
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == &m_dialog && event->type() == QEvent::Show)
            hide();
        return false;
    }

private:
    void hide()
    {
        if (auto* all = m_dialog.findChild<QAbstractButton*>(QStringLiteral("printAll")))
            all->setChecked(true);
        for (const char* name :
             {"printRange", "from", "label_3", "to", "pagesRadioButton", "pagesLineEdit"}) {
            for (QWidget* widget : m_dialog.findChildren<QWidget*>(QLatin1String(name))) {
                // "label_3" names other labels too; only the one between the page numbers goes.
                if (qstrcmp(name, "label_3") == 0 && widget->parentWidget() &&
                    widget->parentWidget()->objectName() != QLatin1String("gbPrintRange"))
                    continue;
                widget->hide();
            }
        }
    }

    QPrintDialog& m_dialog;
};

} // namespace

QString PrintDialog::NoPrinterText()
{
    return QStringLiteral("印刷できるプリンターがありません。プリンターを設定してから印刷して下さい。");
}

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

    // Without any printer the dialog could only be cancelled or confirmed into nothing: say so.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        MessageBox::show(parent, QStringLiteral("Zentrix"), NoPrinterText(), MessageBox::Icon::Exclamation);
        return false;
    }
    if (Create(printer, parent)->exec() != QDialog::Accepted)
        return false;
    return HasSomewhereToPrint(printer);
}

std::unique_ptr<QPrintDialog> PrintDialog::Create(QPrinter& printer, QWidget* parent)
{
    auto dialog = std::make_unique<QPrintDialog>(&printer, parent);
    dialog->setObjectName(QStringLiteral("PrintDialog"));
    // No PrintToFile: the choice is not offered. No page range or selection: the job is always
    // the whole list, so the dialog offers nothing that printing would ignore (see PageRangeHider).
    dialog->setOptions(QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
    new PageRangeHider(*dialog);
    return dialog;
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
