#include "QuietMessages.h"

#include <cstdio>

bool QuietMessages::Show(MessageKind kind, const QString& text, const QString& caption)
{
    switch (kind) {
    case MessageKind::Question:
        ++questions;
        return false;
    case MessageKind::Information:
        ++notes;
        return true;
    case MessageKind::Warning:
        break;
    }
    ++errors;
    std::fprintf(stderr, "box \"%s\": %s\n", qPrintable(caption), qPrintable(text));
    return true;
}

void QuietMessages::Open(const QUrl&)
{
}

QString QuietMessages::AskSavePath(const QString&, const QString&, const QString&, const QString&, QString*)
{
    return path;
}

QString QuietMessages::AskOpenPath(const QString&, const QString&, const QString&)
{
    chosen_.emplace();
    return path;
}

QString QuietMessages::AskFolder(const QString&, const QString&)
{
    return {};
}

bool QuietMessages::AskDialog(QDialog&)
{
    if (chosen_)
        dialog = chosen_->Elapsed();
    return true;
}
