// PrintDialog: the system print dialog behind a seam, so tests never block in exec().
#pragma once

#include <QString>
#include <functional>
#include <memory>

class QPrintDialog;
class QPrinter;
class QWidget;

namespace zentrix::ui {

class PrintDialog
{
public:
    /// Shows the modal print dialog for `printer`: printer choice, its properties and the number of
    /// copies, which the printer driver makes (the document is sent once); printing to a file
    /// cannot be chosen. True when the user confirmed it with a usable printer, false on cancel or
    /// any failure of the dialog.
    static bool exec(QPrinter& printer, QWidget* parent);

    /// Test seam: while set, exec() does not open the dialog but calls the interceptor with the
    /// preset printer, which it may adjust (for example point it at a PDF file), and returns its
    /// answer. Pass {} to restore the real dialog.
    static void setInterceptor(std::function<bool(QPrinter&)> interceptor);

    /// The system dialog as exec() shows it: printing to a file and page ranges are not offered
    /// (the page choices are hidden each time it is shown).
    static std::unique_ptr<QPrintDialog> Create(QPrinter& printer, QWidget* parent);

    /// What exec() says, instead of opening the dialog, when no printer is installed.
    static QString NoPrinterText();

    /// False for the printer a confirmed dialog leaves when no printer is installed: that counts
    /// as a failure of the dialog, like a cancel.
    static bool HasSomewhereToPrint(const QPrinter& printer);

private:
    static std::function<bool(QPrinter&)>& interceptor();
};

} // namespace zentrix::ui
