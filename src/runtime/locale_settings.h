// Locale settings read once at start-up.
#pragma once

#include <string>

namespace dove::locale {

// Replacement text for an error number, or nullptr when none is set.
const std::string* MessageOverride(int errorCode);

// Translated caption of the message dialog's button row 0..7, or nullptr.
const std::string* ButtonCaption(int index);

}  // namespace dove::locale
