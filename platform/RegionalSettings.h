#pragma once

#include <string>

/// The user's regional settings, read through the system locale (LANG,
/// LC_ALL, LC_NUMERIC). Tests pin them so results don't depend on the machine.

/// The decimal separator the model file writer uses: ',' or '.'.
char DecimalSeparator();

/// Today's date in the user's short date format.
std::string ShortDateText();

/// Pins the decimal separator; '\0' returns to the system's.
void PinDecimalSeparator(char separator);
