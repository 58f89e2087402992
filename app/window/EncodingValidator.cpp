#include "app/window/EncodingValidator.h"

#include "resources/StringTable.h"

#include <QMetaObject>

#include <string>

EncodingValidator::EncodingValidator(TextEncoding encoding, std::function<void(char32_t)> refused, QObject* parent)
    : QValidator(parent)
    , encoding_(encoding)
    , refused_(std::move(refused))
{
}

QValidator::State EncodingValidator::validate(QString& input, int&) const
{
    std::string bytes;
    char32_t unstorable = 0;
    if (EncodeText(input, encoding_, bytes, &unstorable))
        return Acceptable;
    // The box waits until the edit box has undone the edit.
    QMetaObject::invokeMethod(
        const_cast<EncodingValidator*>(this), [refused = refused_, unstorable] { refused(unstorable); },
        Qt::QueuedConnection);
    return Invalid;
}

QString UnstorableCharacterText(char32_t character, const QString& fileName)
{
    return QString::fromUtf8(Text::UnstorableCharacter)
        .arg(QString::fromUcs4(&character, 1), QStringLiteral("%1").arg(quint32(character), 4, 16, QLatin1Char('0')).toUpper(),
             fileName);
}
