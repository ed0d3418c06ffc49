// The string splitter: cuts a line into tokens at a dividing string.
#pragma once

#include "classes/Classes.h"

#include <memory>
#include <string>

// The splitter's "About" property: an empty persistent object.
class TAbout : public TPersistent {
public:
    DECLARE_CLASS_NAME(TAbout)
};

class TStrParser : public TComponent {
public:
    DECLARE_CLASS_NAME(TStrParser)
    explicit TStrParser(TComponent* AOwner);
    ~TStrParser() override;

    TAbout* About() const { return FAbout.get(); }
    const std::string& DividingString() const { return FDividingString; }
    void SetDividingString(const std::string& Value) { FDividingString = Value; }
    bool CaseSensitive() const { return FCaseSensitive; }
    void SetCaseSensitive(bool Value) { FCaseSensitive = Value; }

    // Empties Tokens, then adds the pieces of S between occurrences of DividingString, in
    // order: empty pieces too, and the rest after the last occurrence when it is not
    // empty. The search ignores case unless CaseSensitive. An empty DividingString
    // occurs nowhere, so S comes back whole.
    void Split(const std::string& S);

    // The pieces of the last Split.
    TStringList* Tokens() const { return FTokens.get(); }

private:
    std::unique_ptr<TAbout> FAbout;
    std::string FDividingString;
    bool FCaseSensitive = false;
    std::unique_ptr<TStringList> FTokens;
};
