#pragma once

#include "base/FileAccess.h"

#include <QString>

#include <string>

// Reads a page template as text: CR LF is one line feed and byte 26 ends it.
// Only a regular file is read; the text is empty unless it was. The window
// and quillmark-cli read templates through this.
FileRead ReadTemplateFile(const QString& path, std::string& text, QString* reason = nullptr);

// Whether the regular file at path is, by its first bytes, an HTML page (or
// is empty, as a page from an empty template is): a byte order mark and
// white space, then "<". A page location may replace such a file without a
// question; another file is the collector's, or was named by a shared
// folder's preferences to be destroyed.
bool LooksLikePage(const QString& path);
