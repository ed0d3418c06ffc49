#include "StrParser.h"

TStrParser::TStrParser(TComponent* AOwner)
    : TComponent(AOwner), FAbout(std::make_unique<TAbout>()), FTokens(std::make_unique<TStringList>())
{
}

TStrParser::~TStrParser() = default;

void TStrParser::Split(const std::string& S)
{
    FTokens->Clear();
    std::string::size_type start = 0;
    if (!FDividingString.empty()) {
        // Upper-casing changes no lengths, so positions found in the copies hold in S.
        const std::string text = FCaseSensitive ? S : UpperCase(S);
        const std::string divider = FCaseSensitive ? FDividingString : UpperCase(FDividingString);
        for (auto pos = text.find(divider); pos != std::string::npos; pos = text.find(divider, start)) {
            FTokens->Add(S.substr(start, pos - start));
            start = pos + divider.size();
        }
    }
    if (start < S.size())
        FTokens->Add(S.substr(start));
}
