#include "QuietMessages.h"

#include <cstdio>

void QuietMessages::ShowError(const QString& text, const QString& caption)
{
    ++errors;
    std::fprintf(stderr, "box \"%s\": %s\n", qPrintable(caption), qPrintable(text));
}

bool QuietMessages::AskYesNo(const QString&, const QString&)
{
    ++questions;
    return false;
}

void QuietMessages::Open(const QUrl&)
{
}
