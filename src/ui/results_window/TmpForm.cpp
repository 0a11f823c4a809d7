// TmpForm: one hidden form per program, loaded on demand.
#include "ui/results_window/TmpForm.h"

#include <QLineEdit>
#include <QPointer>

namespace zentrix::ui {
namespace {

QPointer<TmpForm>& instance()
{
    static QPointer<TmpForm> form;
    return form;
}

} // namespace

TmpForm::TmpForm()
{
    setObjectName(QStringLiteral("TmpForm"));
    setAttribute(Qt::WA_DontShowOnScreen);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
}

TmpForm& TmpForm::Load()
{
    if (!instance())
        instance() = new TmpForm;
    return *instance();
}

void TmpForm::Unload()
{
    delete instance().data();
    instance() = nullptr;
}

bool TmpForm::IsLoaded()
{
    return !instance().isNull();
}

} // namespace zentrix::ui
