#include "base/UserAgent.h"

QString UserAgent()
{
    return QStringLiteral("Quillmark/%1").arg(QStringLiteral(QUILLMARK_VERSION));
}
