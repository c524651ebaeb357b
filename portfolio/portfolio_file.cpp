#include "portfolio/portfolio_file.h"

#include "portfolio/line_file.h"

bool LoadPortfolios(DataStore& store)
{
    return LoadTextLines(kPortfolioFileName, store.folioLines);
}

void EnsureDefaultPortfolio(DataStore& store)
{
    if (store.folioLines.empty())
        store.folioLines.emplace_back("0|FOLIO|Default||");
}

bool SavePortfolios(const DataStore& store)
{
    return SaveTextLines(kPortfolioFileName, store.folioLines);
}

std::optional<std::string> FolioNameOf(std::string_view line)
{
    constexpr std::string_view marker = "|FOLIO|";
    const size_t at = line.find(marker);
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view rest = line.substr(at + marker.size());
    return std::string(rest.substr(0, rest.find('|')));
}

std::string SecLinePrefix(unsigned folioNumber)
{
    return std::to_string(folioNumber) + "|SEC";
}

std::vector<std::size_t> SecLinePositions(const DataStore& store, unsigned folioNumber)
{
    const std::string prefix = SecLinePrefix(folioNumber);
    std::vector<std::size_t> positions;
    for (std::size_t i = 0; i < store.folioLines.size(); ++i)
    {
        if (store.folioLines[i].starts_with(prefix))
            positions.push_back(i);
    }
    return positions;
}

TextLines SecLinesOf(const DataStore& store, unsigned folioNumber)
{
    TextLines lines;
    for (const std::size_t position : SecLinePositions(store, folioNumber))
        lines.push_back(store.folioLines[position]);
    return lines;
}

std::string NarrowText(std::u16string_view text)
{
    std::string bytes(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[i] = static_cast<char>(static_cast<unsigned char>(text[i] & 0xFF));
    return bytes;
}
