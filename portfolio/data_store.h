// The three lists of 8-bit text lines that the application object owns for
// the life of the process. Every operation works on them in place, on the
// user-interface thread.
#pragma once

#include <string>
#include <vector>

using TextLines = std::vector<std::string>;

struct DataStore
{
    TextLines folioLines;  // portfolio lines of portfolios.txt
    TextLines symbolLines; // quote lines of symboldata.txt
    TextLines resultLines; // quote lines received for the index header
};
