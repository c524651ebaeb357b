#include "portfolio/portfolio_combo.h"

#include "platform/text/code_page.h"
#include "platform/ui/combo_box.h"
#include "portfolio/portfolio_file.h"

void FillPortfolioCombo(platform::CComboBox& combo, const DataStore& store, std::int32_t& folio)
{
    combo.ResetContent();
    for (const std::string& line : store.folioLines)
        if (std::optional<std::string> name = FolioNameOf(line))
            combo.AddString(platform::DecodeAnsi(*name));
    const int count = combo.GetCount();
    if (folio > count - 1)
        folio = 0;
    combo.SetCurSel(folio);
}
