#include "runtime/strings/strings.h"

namespace dove::str {
namespace {

void Push(std::string_view s) { vstack::PushRef(s.data(), s.size()); }

}  // namespace

std::string Clip(std::string_view s) {
    Push(s);
    vstack::Clip();
    return vstack::PopString();
}

bool IsBlank(std::string_view s) {
    Push(s);
    return !vstack::PopTest();
}

int Compare(std::string_view a, std::string_view b) {
    Push(a);
    Push(b);
    return vstack::Compare();
}

bool Equal(std::string_view a, std::string_view b) { return Compare(a, b) == 0; }

int CompareNoCase(std::string_view a, std::string_view b) {
    Push(a);
    vstack::Upper();
    Push(b);
    vstack::Upper();
    return vstack::Compare();
}

bool EqualNoCase(std::string_view a, std::string_view b) { return CompareNoCase(a, b) == 0; }

std::string Upper(std::string_view s) {
    Push(s);
    vstack::Upper();
    return vstack::PopString();
}

std::string Lower(std::string_view s) {
    Push(s);
    vstack::Lower();
    return vstack::PopString();
}

std::string Concat(std::string_view a, std::string_view b) {
    Push(a);
    Push(b);
    vstack::Concat();
    return vstack::PopString();
}

std::string Sub(std::string_view s, long start, long len) {
    Push(s);
    vstack::Substring(start, len);
    return vstack::PopString();
}

std::string Justify(std::string_view s, vstack::Justify how, long width) {
    Push(s);
    vstack::JustifyTop(how, width);
    return vstack::PopString();
}

long InString(std::string_view text, std::string_view find, long step, long start) {
    Push(text);
    Push(find);
    return vstack::InString(step, start);
}

std::string FromInt(int32_t v) {
    vstack::PushInt(v);
    return vstack::PopString();
}

std::string FromReal(double v) {
    vstack::PushReal(v);
    return vstack::PopString();
}

Decimal ToNumber(std::string_view s) {
    Push(s);
    return vstack::PopNumber();
}

void AssignFixed(char* dst, size_t n, std::string_view v) {
    Push(v);
    vstack::PopFixed(dst, n);
}

void AssignZ(char* dst, size_t n, std::string_view v) {
    Push(v);
    vstack::PopZ(dst, n);
}

}  // namespace dove::str
