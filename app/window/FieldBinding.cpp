#include "app/window/FieldBinding.h"

#include "app/window/EncodingValidator.h"

#include <QComboBox>
#include <QLineEdit>

FieldBinding::FieldBinding(QLineEdit* edit, QComboBox* choices)
    : edit_(edit)
    , choices_(choices)
{
}

void FieldBinding::SetEncoding(TextEncoding encoding, const std::function<void(char32_t)>& refused)
{
    encoding_ = encoding;
    // UTF-8 holds every character.
    delete edit_->validator();
    edit_->setValidator(encoding == TextEncoding::Utf8 ? nullptr : new EncodingValidator(encoding, refused, edit_));
    // The next Show decodes anew.
    shownBytes_.clear();
    shownText_.clear();
}

void FieldBinding::Show(const std::string& bytes)
{
    if (bytes != shownBytes_ || edit_->text() != shownText_) {
        shownBytes_ = bytes;
        shownText_ = DecodeText(bytes, encoding_);
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
    // The validator has refused what the encoding cannot hold.
    std::string bytes;
    EncodeText(text, encoding_, bytes);
    return bytes;
}
