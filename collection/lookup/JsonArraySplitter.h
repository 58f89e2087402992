#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

// Cuts a JSON array, fed in pieces of any size, into its elements' own text,
// one at a time, so that a file of a hundred megabytes is read without being
// held whole. Only the array's structure is checked here; each element is
// left to a JSON reader.
class JsonArraySplitter {
public:
    using Element = std::function<bool(const QByteArray& element)>;

    // element gets each whole element; returning false stops the reading.
    explicit JsonArraySplitter(Element element);

    // False once the text is not an array, or element said stop.
    bool Feed(const QByteArray& bytes);
    // False when the array was not closed, or something follows it.
    bool Finish();
    const QString& Fault() const { return fault_; }

private:
    bool Fail(const char* why);

    Element element_;
    QByteArray current_;
    int depth_ = 0;
    bool started_ = false;
    bool closed_ = false;
    bool inString_ = false;
    bool escaped_ = false;
    bool failed_ = false;
    QString fault_;
};
