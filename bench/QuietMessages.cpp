#include "QuietMessages.h"

#include <cstdio>

void QuietMessages::ShowError(QWidget*, const QString& text, const QString& caption)
{
    ++errors;
    std::fprintf(stderr, "box \"%s\": %s\n", qPrintable(caption), qPrintable(text));
}

bool QuietMessages::AskYesNo(QWidget*, const QString&, const QString&)
{
    ++questions;
    return false;
}

void QuietMessages::Open(const QUrl&)
{
}
