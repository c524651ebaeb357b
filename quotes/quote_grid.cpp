#include "quotes/quote_grid.h"

#include "gridctrl/layout_section_profiles.h"
#include "platform/text/code_page.h"
#include "portfolio/portfolio_file.h"
#include "quotes/quote_line.h"
#include "quotes/quote_text.h"

#include <cstdint>
#include <memory>
#include <optional>

using namespace quote_grid;

namespace
{

struct ColumnSpec
{
    std::u16string_view caption;
    int alignment; // 0 left, 1 right
    int width;
};

constexpr int kLeft = 0;
constexpr int kRight = 1;

// Columns 1 to 17, in order.
constexpr ColumnSpec kColumns[] = {
    {u"Symbol", kLeft, 60},   {u"Day Low", kRight, 60}, {u"Day High", kRight, 60},
    {u"Last", kRight, 60},    {u"Change", kRight, 60},  {u"Chng %", kRight, 60},
    {u"Paid", kRight, 60},    {u"Gain %", kRight, 60},  {u"Prv. Cls", kRight, 60},
    {u"52w. Lo", kRight, 60}, {u"52w. Hi", kRight, 60}, {u"Price Time", kRight, 60},
    {u"52w Date", kLeft, 60}, {u"Yield", kRight, 40},   {u"Notes", kLeft, 300},
    {u"D% Rng", kRight, 60},  {u"Y% Rng", kRight, 60},
};

constexpr std::string_view kSecMarker = "|SEC|";

// The symbol of a SEC line: the text after its first "|SEC|" up to the next
// "|" or the end; nothing when the line has no "|SEC|".
std::optional<std::string_view> SecSymbolOf(std::string_view secLine)
{
    const std::size_t marker = secLine.find(kSecMarker);
    if (marker == std::string_view::npos)
        return std::nullopt;
    std::string_view symbol = secLine.substr(marker + kSecMarker.size());
    return symbol.substr(0, symbol.find('|'));
}

// The first stored line of each symbol, by the symbol's key (symbol and
// "|"), so that a fill finds every row's line at once instead of scanning
// symbolLines per row. Open addressing over the line positions.
class FirstLineIndex
{
public:
    explicit FirstLineIndex(const TextLines& lines) : lines(lines)
    {
        std::size_t size = 16;
        while (size < lines.size() * 2)
            size *= 2;
        slots.assign(size, kEmpty);
        for (std::size_t position = 0; position < lines.size(); ++position)
        {
            const std::string_view key = SymbolKeyOf(lines[position]);
            if (!key.ends_with('|'))
                continue; // a line without "|" belongs to no symbol
            std::size_t& slot = slots[SlotIndex(key)];
            if (slot == kEmpty)
                slot = position; // a later duplicate does not displace the first
        }
    }

    // The first line that begins with `key` (a symbol followed by "|").
    std::optional<std::string_view> Find(std::string_view key) const
    {
        const std::size_t position = slots[SlotIndex(key)];
        if (position == kEmpty)
            return std::nullopt;
        return std::string_view(lines[position]);
    }

private:
    static constexpr std::size_t kEmpty = static_cast<std::size_t>(-1);

    // The slot that holds `key`, or the empty one where it would go.
    std::size_t SlotIndex(std::string_view key) const
    {
        std::uint64_t hash = 14695981039346656037ull; // FNV-1a
        for (const char c : key)
            hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
        const std::size_t mask = slots.size() - 1;
        for (std::size_t i = static_cast<std::size_t>(hash) & mask;; i = (i + 1) & mask)
        {
            // The key ends with its only "|", so a line that begins with it
            // has it as its own key.
            if (slots[i] == kEmpty || lines[slots[i]].starts_with(key))
                return i;
        }
    }

    const TextLines& lines;
    std::vector<std::size_t> slots;
};

// FormatPriceText of a field whose number is known.
std::u16string PriceText(std::string_view field, double number)
{
    if (field.empty())
        return {};
    return platform::DecodeAnsi(FormatFixed(number, 2));
}

// The place of `last` in the range [low, high]: column text "%.0f" of the
// ratio in percent, green at three quarters or more, red at a quarter or
// less.
void SetRangeCell(myGridCtrl& grid, int row, int column, double last, double low, double high,
                  platform::COLORREF& colour)
{
    if (high - low == 0)
        return;
    const double ratio = (last - low) / (high - low);
    if (ratio >= 0.75)
        colour = kRiseColour;
    else if (ratio <= 0.25)
        colour = kFallColour;
    grid.SetItemText(row, column, platform::DecodeAnsi(FormatFixed(ratio * 100, 0)));
}

} // namespace

myGridCtrl::myGridCtrl() = default;

myGridCtrl::~myGridCtrl()
{
    cellColours.clear();
}

void myGridCtrl::SetupQuoteGrid()
{
    auto rowTrait = std::make_unique<CRowTraitText>();
    rowTrait->altTextColour = platform::RGB(0, 0, 0);
    rowTrait->altBackColour = platform::RGB(255, 255, 200);
    SetBaseRowTrait(std::move(rowTrait));

    SetExtendedStyle(GetExtendedStyle() & ~platform::LVS_EX_FULLROWSELECT);

    AddHiddenFirstColumn();
    int column = 1;
    for (const ColumnSpec& def : kColumns)
    {
        AddColumn(column, def.caption, def.alignment, def.width, column);
        ++column;
    }

    auto section = std::make_unique<CLayoutSectionAppProfile>(u"GridConfig");
    section->AddProfileName(u"Default");
    section->AddProfileName(u"Special");
    BindColumnState(std::move(section));
}

void myGridCtrl::FillQuoteGrid(const DataStore& store, unsigned folio)
{
    // One change for the whole fill rather than one per cell.
    const bool redrawWasOn = IsRedrawOn();
    SetRedraw(false);
    DeleteAllItems();
    cellColours.clear();
    const std::string prefix = SecLinePrefix(folio);
    const FirstLineIndex firstLines(store.symbolLines);
    std::string key;
    for (std::size_t position = 0; position < store.folioLines.size(); ++position)
    {
        const std::string& line = store.folioLines[position];
        if (!line.starts_with(prefix))
            continue;
        const std::optional<std::string_view> symbol = SecSymbolOf(line);
        if (!symbol)
            continue;
        key.assign(*symbol).append("|");
        if (const std::optional<std::string_view> found = firstLines.Find(key))
            FormatQuoteRow(store, position, *found);
        else
            FormatQuoteRow(store, position, key + "||||||||"); // no quote data
    }
    SetRedraw(redrawWasOn);
}

void myGridCtrl::FormatQuoteRow(const DataStore& store, std::size_t secLinePosition,
                                std::string_view quoteLine)
{
    const int row = GetItemCount();
    InsertItem(row, u"r");
    cellColours.push_back(newRowColours);

    const QuoteFields fields = SplitQuoteFields(quoteLine);
    const auto number = [&fields](std::size_t field) { return TextToNumber(fields[field]); };

    SetItemText(row, kSymbol, platform::DecodeAnsi(fields[QuoteField::symbol]));
    const double dayLow = number(QuoteField::dayLow);
    const double dayHigh = number(QuoteField::dayHigh);
    const double last = number(QuoteField::last);
    SetItemText(row, kDayLow, PriceText(fields[QuoteField::dayLow], dayLow));
    SetItemText(row, kDayHigh, PriceText(fields[QuoteField::dayHigh], dayHigh));
    SetItemText(row, kLast, PriceText(fields[QuoteField::last], last));

    const double change = number(QuoteField::change);
    const double previousClose = last - change;
    if (previousClose > 0)
        SetItemText(row, kPreviousClose, platform::DecodeAnsi(FormatFixed(previousClose, 2)));

    const double low52 = number(QuoteField::low52);
    const double high52 = number(QuoteField::high52);
    SetItemText(row, kLow52, PriceText(fields[QuoteField::low52], low52));
    SetItemText(row, kHigh52, PriceText(fields[QuoteField::high52], high52));

    SetItemText(row, kPriceTime, platform::DecodeAnsi(fields[QuoteField::priceTime]));
    // The date with a two-digit year: 03/05/2021 shows as 03/05/21.
    std::u16string date = platform::DecodeAnsi(fields[QuoteField::dataDate]);
    if (date.size() > 4)
        date.erase(date.size() - 4, 2);
    SetItemText(row, kDate52, date);

    if (const double yield = number(QuoteField::yield); yield != 0)
        SetItemText(row, kYield, PriceText(fields[QuoteField::yield], yield));

    if (change != 0)
    {
        SetSignedCell(row, kChange, change);
        SetSignedCell(row, kChangePercent, change / previousClose * 100);
    }

    // The portfolio entry: n|SEC|symbol|price paid|notes.
    const std::string_view secLine = secLinePosition < store.folioLines.size()
                                         ? std::string_view(store.folioLines[secLinePosition])
                                         : std::string_view();
    const double paid = TextToNumber(SplitQuoteFields(secLine)[3]);
    const std::size_t lastBar = secLine.rfind('|');
    const std::string_view notes =
        lastBar == std::string_view::npos ? secLine : secLine.substr(lastBar + 1);
    SetItemText(row, kNotes, platform::DecodeAnsi(notes));
    if (paid != 0)
    {
        SetItemText(row, kPaid, platform::DecodeAnsi(FormatFixed(paid, 2)));
        if (last != 0)
            SetSignedCell(row, kGainPercent, (last - paid) / paid * 100);
    }

    RowColours& colours = cellColours[static_cast<std::size_t>(row)];
    SetRangeCell(*this, row, kDayRange, last, dayLow, dayHigh, colours[kDayRange]);
    SetRangeCell(*this, row, kYearRange, last, low52, high52, colours[kYearRange]);
}

std::u16string myGridCtrl::FormatPriceText(std::string_view field)
{
    return PriceText(field, TextToNumber(field));
}

void myGridCtrl::SetSignedCell(int row, int column, double value)
{
    if (value == 0)
        return;
    if (value > 0)
        SetCellColour(row, column, kRiseColour);
    else if (value < 0)
        SetCellColour(row, column, kFallColour);
    SetItemText(row, column, platform::DecodeAnsi(FormatFixed(value, 2)));
}

void myGridCtrl::SetCellColour(int row, int column, platform::COLORREF colour)
{
    if (row < 0 || static_cast<std::size_t>(row) >= cellColours.size() || column < 0 ||
        static_cast<std::size_t>(column) >= newRowColours.size())
        return;
    cellColours[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = colour;
}

bool myGridCtrl::OnCellColour(int row, int column, platform::COLORREF& textColour,
                              platform::COLORREF& backColour)
{
    if (column == kSymbol)
    {
        backColour = symbolColumnBackColour;
        return true;
    }
    if (row < 0 || static_cast<std::size_t>(row) >= cellColours.size() || column < 0 ||
        static_cast<std::size_t>(column) >= newRowColours.size())
        return false;
    const platform::COLORREF colour =
        cellColours[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
    if (colour == 0)
        return false;
    textColour = colour;
    return true;
}

bool myGridCtrl::OnRowColour(int row, platform::COLORREF& /*textColour*/,
                             platform::COLORREF& backColour)
{
    if (!GetItemText(row, kSymbol).starts_with(u'-'))
        return false;
    backColour = commentRowBackColour;
    return true;
}
