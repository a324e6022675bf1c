#pragma once

#include "storage/cellar.h"

namespace ardovin {

// What copying one cellar book into another did, in words for the user.
struct CopyReport
{
    bool done = false;
    QString message;
};

// Copies every batch of `from`, archived ones too, with its entries into `to`, all in one
// transaction, beside what `to` holds (a name taken there gets a number, as in an import); then
// reads the copies back from `to` and compares their counts with the original's.
CopyReport CopyCellar(const Cellar& from, Cellar& to);

} // namespace ardovin
