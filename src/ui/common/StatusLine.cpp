// StatusLine: the label and its accessible interface in the status-bar role.
#include "ui/common/StatusLine.h"

#include <QAccessibleWidget>

namespace zentrix::ui {
namespace {

class StatusLineAccessible final : public QAccessibleWidget
{
public:
    explicit StatusLineAccessible(StatusLine* line)
        : QAccessibleWidget(line, QAccessible::StatusBar)
    {
    }

    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name)
            return QAccessibleWidget::text(t);
        const auto* line = static_cast<const StatusLine*>(widget());
        if (!line->accessibleName().isEmpty())
            return line->accessibleName();
        const QString shown = line->text().trimmed();
        return shown.isEmpty() ? QStringLiteral("ステータス") : shown;
    }
};

QAccessibleInterface* StatusLineFactory(const QString& className, QObject* object)
{
    if (className == QLatin1String(StatusLine::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new StatusLineAccessible(static_cast<StatusLine*>(object));
    return nullptr;
}

} // namespace

StatusLine::StatusLine(QWidget* parent)
    : QLabel(parent)
{
}

void InstallAccessibleInterfaces()
{
    static bool installed = false;
    if (!installed)
        QAccessible::installFactory(StatusLineFactory);
    installed = true;
}

} // namespace zentrix::ui
