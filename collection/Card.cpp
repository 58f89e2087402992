#include "collection/Card.h"

#include <algorithm>

void ReplaceUnstorableBytes(Card& card)
{
    for (std::string& field : card)
        std::replace_if(field.begin(), field.end(), [](char c) { return c == '\n' || c == 26; }, ' ');
}
