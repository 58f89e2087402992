#include "collection/Card.h"

#include "base/LineSyntax.h"

void PrepareForStorage(Card& card)
{
    for (std::string& field : card)
        PrepareValueForStorage(field);
}
