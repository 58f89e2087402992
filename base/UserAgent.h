#pragma once

#include <QString>

// How Quillmark names itself to the servers it asks, with its version, as
// the public card databases ask of every program that calls them.
QString UserAgent();
