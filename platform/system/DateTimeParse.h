// Date and time texts to date-time values, in the order and with the separators of the
// format settings, as the platform reads them.
#pragma once

#include "SysUtils.h"

#include <string>

// A date ("12/31/2024", in the order of ShortDateFormat; a missing year is this year), a
// time ("13:45", "1:45:30.250 PM") or a date followed by a time. Raises EConvertError
// "'%s' is not a valid date and time".
TDateTime StrToDateTime(const std::string& s);
TDateTime StrToDateTime(const std::string& s, const TFormatSettings& fs);
bool TryStrToDateTime(const std::string& s, TDateTime& value, const TFormatSettings& fs);
