// The picture compiler with FORMAT and DEFORMAT. Input: a picture, a line
// break, then a value text. Beyond finding crashes and undefined behaviour
// it checks what must hold for any picture:
// - FORMAT returns exactly the layout's width, or nothing for a rejected
//   picture;
// - DEFORMAT of what FORMAT wrote is accepted for number, date and time
//   pictures unless the field overflowed, and then FORMAT of that value
//   writes the same text again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "runtime/pictures/decimal.h"
#include "runtime/pictures/picture.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckRoundTrip(const dove::pic::Picture& p, const std::string& shown) {
    using dove::pic::Kind;
    if (shown.find('#') != std::string::npos) return;
    if (p.kind == Kind::Number || p.kind == Kind::Scientific) {
        dove::Decimal v;
        Check(dove::pic::ReadNumber(p, shown, &v));
        // A number picture without a sign shows the magnitude, so a negative
        // value comes back positive; its text is the same all the same.
        Check(dove::pic::Format(p, v) == shown);
    } else if (p.kind == Kind::Date || p.kind == Kind::Time) {
        int32_t v = 0;
        const bool read = p.kind == Kind::Date ? dove::pic::ReadDate(p, shown, &v) : dove::pic::ReadTime(p, shown, &v);
        Check(read);
        // Dates with two-digit years or without a day, and times without
        // seconds, come back as another value; formatting them again must
        // still give the same text. Any value that is no date or time reads
        // back as 0, which B then shows as blanks.
        Check(v == 0 || dove::pic::Format(p, int64_t{v}) == shown);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t newline = input.find('\n');
    const std::string_view picture = input.substr(0, newline);
    const std::string_view value = newline == std::string_view::npos ? std::string_view() : input.substr(newline + 1);

    dove::pic::Picture p;
    const bool compiled = dove::pic::Compile(picture, &p);
    Check(compiled == (p.kind != dove::pic::Kind::None));
    Check(p.count >= 0 && p.count <= dove::pic::kMaxPositions + 1);

    const std::string shown = dove::pic::FormatText(p, value);
    Check(shown.size() == static_cast<size_t>(compiled ? dove::pic::Width(p) : 0));
    if (compiled) CheckRoundTrip(p, shown);

    const std::string asInteger = dove::pic::Format(p, int64_t{static_cast<int32_t>(size * 2654435761u)});
    Check(asInteger.size() == shown.size());
    if (compiled) CheckRoundTrip(p, asInteger);

    bool ok = false;
    dove::DEFORMAT(value, picture, &ok);
    Check(compiled || !ok);
    return 0;
}
