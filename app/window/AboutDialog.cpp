#include "app/window/AboutDialog.h"

#include "app/window/ApplicationIcon.h"
#include "app/window/DialogBuilder.h"
#include "resources/ControlIds.h"

#include <QIcon>
#include <QLabel>
#include <QPushButton>

AboutDialog::AboutDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    const QHash<int, QWidget*> controls = BuildDialog(*this, AboutTemplate());
    auto* icon = findChild<QLabel*>(QStringLiteral("icon"));
    icon->setPixmap(ApplicationIcon().pixmap(32, 32));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(qobject_cast<QPushButton*>(controls.value(AboutControlId::Ok)), &QPushButton::clicked, this, &QDialog::accept);
    setFixedSize(size());
}
