#include "app/FieldBinding.h"

#include <QComboBox>
#include <QLineEdit>

FieldBinding::FieldBinding(QLineEdit* edit, QComboBox* choices)
    : edit_(edit)
    , choices_(choices)
{
}

void FieldBinding::Show(const std::string& bytes)
{
    if (bytes != shownBytes_ || edit_->text() != shownText_) {
        shownBytes_ = bytes;
        shownText_ = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    }
    if (edit_->text() != shownText_)
        edit_->setText(shownText_);
}

std::string FieldBinding::Take() const
{
    const QString text = edit_->text();
    if (text == shownText_)
        return shownBytes_;
    if (choices_ != nullptr) {
        const int entry = choices_->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (entry >= 0)
            return choices_->itemData(entry).toByteArray().toStdString();
    }
    return text.toStdString();
}
