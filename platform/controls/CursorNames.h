// The identifiers of the platform's standard cursors ("crDefault", "crArrow", ...), as
// property editors and cursor lists show them.
#pragma once

#include "Cursors.h"

#include <functional>
#include <string>

// Calls Proc with the identifier of every standard cursor, in the platform's order.
void GetCursorValues(const std::function<void(const std::string& Ident)>& Proc);
// The identifier of a standard cursor; false (Ident unchanged) for any other number.
bool CursorToIdent(TCursor Cursor, std::string& Ident);
// The cursor of an identifier, compared without case; false (Cursor unchanged) when no
// standard cursor has it.
bool IdentToCursor(const std::string& Ident, TCursor& Cursor);
