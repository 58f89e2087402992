#pragma once

#include <QString>

#include <span>
#include <string_view>

// The file names of every page's two templates, which the collection's
// folder holds beside its own files.
std::span<const char* const> SampleTemplateNames();

// Copies the page templates from the samples folder into the data
// folder, each only where the data folder has none of its own (a file or a
// link of that name, even an empty one, is the collector's own). False,
// with the reason, when one could not be copied.
bool CopySampleTemplates(const QString& samplesFolder, const QString& dataFolder, QString& reason);

// The folder the sample templates ship in, share/quillmark/templates.
QString SampleTemplatesFolder();

// CopySampleTemplates from the samples that ship with the program: the
// window does it for every folder it opens and before every page, and
// quillmark-cli before every page, so that no collection is published
// without templates.
bool CopyMissingSampleTemplates(const QString& dataFolder, QString& reason);

// Whether a template holds nothing but white space, so that a page made
// from it as its outer template would be empty, and as its row template
// would show none of the Cards.
bool IsBlankTemplate(std::string_view text);
