#include "app/window/DialogBuilder.h"

#include "app/table/CardTableView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <limits>

namespace {

int MulDiv(int value, int numerator, int denominator)
{
    return int((qint64(value) * numerator * 2 + denominator) / (denominator * 2));
}

QLineEdit* NewEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMaxLength(std::numeric_limits<int>::max());
    return edit;
}

QWidget* NewItem(const DialogItem& item, QWidget* parent)
{
    const QString text = QString::fromUtf8(item.text);
    switch (item.kind) {
    case ItemKind::Edit:
        return NewEdit(parent);
    case ItemKind::ReadOnlyEdit: {
        QLineEdit* edit = NewEdit(parent);
        edit->setReadOnly(true);
        return edit;
    }
    case ItemKind::ComboBox: {
        auto* combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // Inline completion would change what the user typed.
        combo->setCompleter(nullptr);
        combo->lineEdit()->setMaxLength(std::numeric_limits<int>::max());
        return combo;
    }
    case ItemKind::ReportList: {
        return new CardTableView(parent);
    }
    case ItemKind::PushButton:
        return new QPushButton(text, parent);
    case ItemKind::DefaultButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(true);
        return button;
    }
    case ItemKind::Label:
        return new QLabel(text, parent);
    case ItemKind::CheckBox:
        return new QCheckBox(text, parent);
    case ItemKind::GroupBox:
        return new QGroupBox(text, parent);
    case ItemKind::Icon: {
        auto* label = new QLabel(parent);
        label->setObjectName(QStringLiteral("icon"));
        return label;
    }
    }
    return nullptr;
}

} // namespace

DialogUnits DialogUnits::Of(const QWidget& dialog)
{
    const QFontMetrics metrics = dialog.fontMetrics();
    const int letters = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

int DialogUnits::X(int units) const
{
    return MulDiv(units, baseX, 4);
}

int DialogUnits::Y(int units) const
{
    return MulDiv(units, baseY, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const
{
    return QRect(X(x), Y(y), X(width), Y(height));
}

QHash<int, QWidget*> BuildDialog(QDialog& dialog, const DialogTemplate& dialogTemplate)
{
    return BuildDialog(dialog, dialog, dialogTemplate);
}

QHash<int, QWidget*> BuildDialog(QDialog& dialog, QWidget& area, const DialogTemplate& dialogTemplate)
{
    // The templates are drawn for an 8 point sans-serif font of Arial's
    // widths; the main window's pixel layout rules assume the dialog units
    // it gives.
    QFont font = dialog.font();
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Helvetica")});
    font.setPointSize(8);
    dialog.setFont(font);
    const DialogUnits units = DialogUnits::Of(dialog);
    dialog.setWindowTitle(QString::fromUtf8(dialogTemplate.title));
    area.resize(units.X(dialogTemplate.width), units.Y(dialogTemplate.height));
    QHash<int, QWidget*> controls;
    for (const DialogItem& item : dialogTemplate.items) {
        QWidget* widget = NewItem(item, &area);
        QRect rect = units.ToPixels(item.x, item.y, item.width, item.height);
        if (item.kind == ItemKind::ComboBox)
            rect.setHeight(widget->sizeHint().height());
        // A font a little wider than the template's must not cut a label short.
        if (item.kind == ItemKind::Label)
            rect.setWidth(std::max(rect.width(), widget->sizeHint().width()));
        widget->setGeometry(rect);
        if (item.id != kNoId)
            controls.insert(item.id, widget);
    }
    return controls;
}
