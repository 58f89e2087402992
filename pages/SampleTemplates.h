#pragma once

#include <QString>

// Copies the four page templates from the samples folder into the data
// folder, each only where the data folder has none of its own. False, with
// the reason, when one could not be copied.
bool CopySampleTemplates(const QString& samplesFolder, const QString& dataFolder, QString& reason);
