#include "CursorNames.h"

#include "system/SysUtils.h"

namespace {

struct CursorIdent {
    TCursor Value;
    const char* Name;
};

constexpr CursorIdent CursorIdents[] = {
    {crDefault, "crDefault"},     {crArrow, "crArrow"},         {crCross, "crCross"},
    {crIBeam, "crIBeam"},         {crSizeNESW, "crSizeNESW"},   {crSizeNS, "crSizeNS"},
    {crSizeNWSE, "crSizeNWSE"},   {crSizeWE, "crSizeWE"},       {crUpArrow, "crUpArrow"},
    {crHourGlass, "crHourGlass"}, {crDrag, "crDrag"},           {crNoDrop, "crNoDrop"},
    {crHSplit, "crHSplit"},       {crVSplit, "crVSplit"},       {crMultiDrag, "crMultiDrag"},
    {crSQLWait, "crSQLWait"},     {crNo, "crNo"},               {crAppStart, "crAppStart"},
    {crHelp, "crHelp"},           {crHandPoint, "crHandPoint"}, {crSizeAll, "crSizeAll"},
    {crNone, "crNone"},
};

} // namespace

void GetCursorValues(const std::function<void(const std::string& Ident)>& Proc)
{
    if (!Proc)
        return;
    for (const CursorIdent& c : CursorIdents)
        Proc(c.Name);
}

bool CursorToIdent(TCursor Cursor, std::string& Ident)
{
    for (const CursorIdent& c : CursorIdents)
        if (c.Value == Cursor) {
            Ident = c.Name;
            return true;
        }
    return false;
}

bool IdentToCursor(const std::string& Ident, TCursor& Cursor)
{
    for (const CursorIdent& c : CursorIdents)
        if (SameText(c.Name, Ident)) {
            Cursor = c.Value;
            return true;
        }
    return false;
}
