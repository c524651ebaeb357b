// The main dialog's portfolio chooser, filled from the FOLIO lines.
#pragma once

#include "portfolio/data_store.h"

#include <cstdint>

namespace platform
{
class CComboBox;
}

// Refills `combo` with the name of every FOLIO line of folioLines, in list
// order, then selects the active portfolio `folio`. A `folio` past the last
// entry becomes 0 (in memory only); a negative one stays and selects
// nothing.
void FillPortfolioCombo(platform::CComboBox& combo, const DataStore& store, std::int32_t& folio);
