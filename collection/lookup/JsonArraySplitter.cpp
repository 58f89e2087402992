#include "collection/lookup/JsonArraySplitter.h"

JsonArraySplitter::JsonArraySplitter(Element element)
    : element_(std::move(element))
{
}

bool JsonArraySplitter::Fail(const char* why)
{
    failed_ = true;
    if (fault_.isEmpty())
        fault_ = QString::fromLatin1(why);
    return false;
}

bool JsonArraySplitter::Feed(const QByteArray& bytes)
{
    if (failed_)
        return false;
    for (const char c : bytes) {
        const bool blank = c == ' ' || c == '\t' || c == '\n' || c == '\r';
        if (closed_) {
            if (!blank)
                return Fail("text after the array");
            continue;
        }
        if (!started_) {
            if (blank)
                continue;
            if (c != '[')
                return Fail("not an array");
            started_ = true;
            depth_ = 1;
            continue;
        }
        if (depth_ == 1 && !inString_) {
            // Between elements: only blanks and the commas that part them.
            if (blank || (c == ',' && current_.isEmpty()))
                continue;
            if (c == ']') {
                if (!current_.isEmpty() && !element_(current_))
                    return Fail("stopped");
                closed_ = true;
                continue;
            }
            if (c == ',') {
                if (!element_(current_))
                    return Fail("stopped");
                current_.clear();
                continue;
            }
        }
        current_ += c;
        if (inString_) {
            if (escaped_)
                escaped_ = false;
            else if (c == '\\')
                escaped_ = true;
            else if (c == '"')
                inString_ = false;
        } else if (c == '"') {
            inString_ = true;
        } else if (c == '{' || c == '[') {
            ++depth_;
        } else if (c == '}' || c == ']') {
            if (--depth_ < 1)
                return Fail("unbalanced brackets");
        }
    }
    return true;
}

bool JsonArraySplitter::Finish()
{
    if (failed_)
        return false;
    if (!closed_)
        return Fail(started_ ? "the array ends early" : "empty");
    return true;
}
