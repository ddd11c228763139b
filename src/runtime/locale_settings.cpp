#include "runtime/locale_settings.h"

namespace dove::locale {

const std::string* MessageOverride(int) { return nullptr; }

const std::string* ButtonCaption(int) { return nullptr; }

}  // namespace dove::locale
