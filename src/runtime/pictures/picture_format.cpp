// FORMAT and DEFORMAT: the entries that choose the kind's formatter or
// reader and convert the value to what that kind needs.
#include <string>

#include "runtime/pictures/picture_internal.h"

namespace dove::pic {
namespace detail {

// S pictures: the text cut or padded with blanks to the width.
std::string FormatString(const Picture& p, std::string_view text) {
    std::string out(text.substr(0, static_cast<size_t>(p.format)));
    out.resize(static_cast<size_t>(p.format), ' ');
    return out;
}

}  // namespace detail

using namespace detail;

std::string Format(const Picture& p, const Decimal& value) {
    int32_t n = 0;
    switch (p.kind) {
        case Kind::Number: return FormatNumber(p, value);
        case Kind::Scientific: return FormatScientific(p, value);
        case Kind::String: return FormatString(p, DecimalToText(value));
        // A number too large for a day number or time is no date or time.
        case Kind::Date: return FormatDate(p, ToInt32(value, &n) ? n : -1);
        case Kind::Time: return FormatTime(p, ToInt32(value, &n) ? n : -1);
        case Kind::None: break;
    }
    return std::string();
}

std::string Format(const Picture& p, int64_t value) {
    const bool fits = value >= INT32_MIN && value <= INT32_MAX;
    switch (p.kind) {
        case Kind::Date: return FormatDate(p, fits ? static_cast<int32_t>(value) : -1);
        case Kind::Time: return FormatTime(p, fits ? static_cast<int32_t>(value) : -1);
        case Kind::String: return FormatString(p, std::to_string(value));
        default: return Format(p, DecimalFromInt(value));
    }
}

std::string FormatText(const Picture& p, std::string_view value) {
    if (p.kind == Kind::String) return FormatString(p, value);
    return Format(p, DecimalFromText(value));
}

bool ReadNumber(const Picture& p, std::string_view text, Decimal* out) {
    if (p.kind == Kind::Number) return ReadNumberText(p, text, out);
    if (p.kind == Kind::Scientific) return ReadScientificText(p, text, out);
    return false;
}

bool ReadString(const Picture& p, std::string_view text, std::string* out) {
    if (p.kind != Kind::String) return false;
    *out = std::string(text.substr(0, static_cast<size_t>(p.format)));
    return true;
}

}  // namespace dove::pic

namespace dove {

std::string FORMAT(std::string_view value, std::string_view picture) {
    pic::Picture p;
    pic::Compile(picture, &p);
    return pic::FormatText(p, value);
}

std::string FORMAT(const Decimal& value, std::string_view picture) {
    pic::Picture p;
    pic::Compile(picture, &p);
    return pic::Format(p, value);
}

std::string FORMAT(int32_t value, std::string_view picture) { return FORMAT(static_cast<int64_t>(value), picture); }

std::string FORMAT(int64_t value, std::string_view picture) {
    pic::Picture p;
    pic::Compile(picture, &p);
    return pic::Format(p, value);
}

std::string FORMAT(double value, std::string_view picture) {
    pic::Picture p;
    pic::Compile(picture, &p);
    if (p.kind == pic::Kind::String) return pic::FormatString(p, DecimalToText(DecimalFromDouble(value)));
    return pic::Format(p, DecimalFromDouble(value));
}

std::string DEFORMAT(std::string_view text, std::string_view picture, bool* ok) {
    pic::Picture p;
    pic::Compile(picture, &p);
    std::string result;
    bool read = false;
    Decimal number;
    int32_t n = 0;
    switch (p.kind) {
        case pic::Kind::Number:
        case pic::Kind::Scientific:
            if ((read = pic::ReadNumber(p, text, &number))) result = DecimalToText(number);
            break;
        case pic::Kind::Date:
            if ((read = pic::ReadDate(p, text, &n))) result = std::to_string(n);
            break;
        case pic::Kind::Time:
            if ((read = pic::ReadTime(p, text, &n))) result = std::to_string(n);
            break;
        case pic::Kind::String: read = pic::ReadString(p, text, &result); break;
        case pic::Kind::None: break;
    }
    if (ok != nullptr) *ok = read;
    return result;
}

}  // namespace dove
