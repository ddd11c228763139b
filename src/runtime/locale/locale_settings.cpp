#include "runtime/locale/locale_settings.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <mutex>

namespace dove::locale {
namespace {

constexpr long kMaxEnvironmentFile = 1L << 20;

const char* const kMonths[12] = {"January", "February", "March",     "April",   "May",      "June",
                                 "July",    "August",   "September", "October", "November", "December"};
const char* const kDays[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

// Starts with the defaults, so that reading never races with a lazy set-up.
std::unique_ptr<Settings>& Slot() {
    static std::unique_ptr<Settings> installed = std::make_unique<Settings>(Defaults());
    return installed;
}

int IntOf(const std::string& text) { return std::atoi(text.c_str()); }

// The intl values still to be read into the installed settings, if any.
// Readers that find it empty see everything applied (acquire/release); the
// first one that finds it set reads them, the others wait on the lock.
std::atomic<void (*)(IntlValues*)> g_pendingIntl{nullptr};
std::mutex g_intlLock;

void ApplyPendingIntl() {
    std::lock_guard<std::mutex> hold(g_intlLock);
    void (*read)(IntlValues*) = g_pendingIntl.load(std::memory_order_acquire);
    if (!read) return;
    IntlValues intl;
    read(&intl);
    ApplyIntl(intl, Slot().get());
    g_pendingIntl.store(nullptr, std::memory_order_release);
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

Settings Defaults() {
    Settings s;
    for (int i = 0; i < 12; ++i) {
        s.monthNames[i] = kMonths[i];
        s.monthAbbrevs[i] = std::string(kMonths[i], 3);
    }
    for (int i = 0; i < 7; ++i) {
        s.dayNames[i] = kDays[i];
        s.dayAbbrevs[i] = std::string(kDays[i], 3);
    }
    s.tables = chartab::Defaults();
    return s;
}

void ApplyIntl(const IntlValues& intl, Settings* s) {
    s->clock24 = IntOf(intl.iTime) == 1;
    s->hourLeadingZero = IntOf(intl.iTLzero) == 1;
    s->timeSeparator = intl.sTime;
    s->text1159 = intl.s1159;
    s->text2359 = intl.s2359;
    s->shortDate = intl.sShortDate.empty() ? IntlValues{}.sShortDate : intl.sShortDate;
    s->longDate = intl.sLongDate.empty() ? IntlValues{}.sLongDate : intl.sLongDate;
}

Settings Parse(const IntlValues& intl, std::string_view environmentText) {
    Settings s = Defaults();
    ApplyIntl(intl, &s);
    ApplyEnvironment(environmentText, &s);
    return s;
}

void Install(const Settings& settings) {
    std::lock_guard<std::mutex> hold(g_intlLock);
    g_pendingIntl.store(nullptr, std::memory_order_release);
    Slot() = std::make_unique<Settings>(settings);
    chartab::Install(settings.tables);
}

void Load(const IntlValues& intl, std::string_view environmentText) {
    Install(Parse(intl, environmentText));
}

void LoadDeferringIntl(void (*readIntl)(IntlValues*), std::string_view environmentText) {
    Load(IntlValues{}, environmentText);
    g_pendingIntl.store(readIntl, std::memory_order_release);
}

const Settings& Current() {
    if (g_pendingIntl.load(std::memory_order_acquire)) ApplyPendingIntl();
    return *Slot();
}

std::string EnvironmentFileName(std::string_view programPath) {
    const size_t slash = programPath.find_last_of("\\/:");
    const size_t dot = programPath.rfind('.');
    const bool hasExtension = dot != std::string_view::npos && (slash == std::string_view::npos || dot > slash);
    std::string name(hasExtension ? programPath.substr(0, dot) : programPath);
    return name + ".ENV";
}

bool ReadEnvironmentFile(const std::string& path, std::string* text) {
    text->clear();
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return false;
    char buffer[4096];
    size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        if (static_cast<long>(text->size() + got) > kMaxEnvironmentFile) {
            text->clear();
            return false;
        }
        text->append(buffer, got);
    }
    return std::ferror(file.get()) == 0;
}

const std::string* MessageOverride(int errorCode) {
    const Settings& s = Current();
    const auto it = s.messages.find(errorCode);
    return it == s.messages.end() ? nullptr : &it->second;
}

const std::string* ButtonCaption(int index) {
    if (index < 0 || index >= kButtonCount) return nullptr;
    const std::string& caption = Current().buttons[index];
    return caption.empty() ? nullptr : &caption;
}

}  // namespace dove::locale
