#pragma once

#include <QString>

#include <string>

// Reads a page template as text: CR LF is one line feed and byte 26 ends it.
// A template that does not exist is created empty and reads as empty text.
// False when it can be neither opened nor created, or cannot be read; the
// text is empty then.
bool ReadTemplateFile(const QString& path, std::string& text);
