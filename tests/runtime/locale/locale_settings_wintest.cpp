// The Win32 side of the locale settings and the clock, against the real
// WIN.INI of the test prefix and a real .ENV file beside the test program.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "runtime/pictures/date_time.h"
#include "runtime/pictures/date_time_win32.h"
#include "runtime/locale/locale_settings.h"
#include "runtime/locale/locale_settings_win32.h"
#include "runtime/pictures/picture.h"

namespace {

const char* const kEntries[] = {"iTime", "iTLzero", "sTime", "s1159", "s2359", "sShortDate", "sLongDate"};

std::string ProgramPath() {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return std::string(path, n);
}

// Keeps the prefix's "intl" entries and puts them back afterwards.
class Win32LocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* entry : kEntries) {
            char buffer[256];
            const DWORD n = GetProfileStringA("intl", entry, "\x01", buffer, sizeof buffer);
            saved_.push_back(std::string(buffer, n));
        }
        envPath_ = dove::locale::EnvironmentFileName(ProgramPath());
    }
    void TearDown() override {
        for (size_t i = 0; i < saved_.size(); ++i) {
            const bool absent = saved_[i] == "\x01";
            WriteProfileStringA("intl", kEntries[i], absent ? nullptr : saved_[i].c_str());
        }
        DeleteFileA(envPath_.c_str());
        dove::locale::Install(dove::locale::Defaults());
        dove::datetime::SetClockSource(nullptr);
    }
    std::vector<std::string> saved_;
    std::string envPath_;
};

}  // namespace

TEST_F(Win32LocaleTest, ReadsIntlSectionAndTheEnvironmentFileBesideTheProgram) {
    ASSERT_TRUE(WriteProfileStringA("intl", "iTime", "1"));
    ASSERT_TRUE(WriteProfileStringA("intl", "iTLzero", "1"));
    ASSERT_TRUE(WriteProfileStringA("intl", "sTime", "."));
    ASSERT_TRUE(WriteProfileStringA("intl", "sShortDate", "dd.MM.yyyy"));
    WriteProfileStringA("intl", "sLongDate", nullptr);   // missing: the default applies
    std::FILE* f = std::fopen(envPath_.c_str(), "wb");
    ASSERT_NE(nullptr, f) << envPath_;
    std::fputs("TOVMON=Jan,Feb,Mrz,Apr,Mai,Jun,Jul,Aug,Sep,Okt,Nov,Dez\r\nTOVBUTTON=,&Ja\r\nbroken line\r\n", f);
    std::fclose(f);

    dove::locale::LoadWin32Settings();

    const dove::locale::Settings& s = dove::locale::Current();
    EXPECT_TRUE(s.clock24);
    EXPECT_EQ("dd.MM.yyyy", s.shortDate);
    EXPECT_EQ("ddd', 'MMMM' 'dd', 'yyyy", s.longDate);
    const int32_t dec6 = dove::datetime::DayNumber(2026, 12, 6);
    EXPECT_EQ("06.12.2026", dove::FORMAT(dec6, "d17"));
    EXPECT_EQ("Dez  6,2026", dove::FORMAT(dec6, "d3"));
    EXPECT_EQ("09.05", dove::FORMAT(dove::datetime::TimeValue(9, 5, 0, 0), "t7"));
    ASSERT_NE(nullptr, dove::locale::ButtonCaption(1));
    EXPECT_EQ("&Ja", *dove::locale::ButtonCaption(1));
    EXPECT_EQ(nullptr, dove::locale::ButtonCaption(0));
}

TEST_F(Win32LocaleTest, WithoutAnEnvironmentFileTheDefaultsStay) {
    DeleteFileA(envPath_.c_str());
    dove::locale::LoadWin32Settings();
    EXPECT_EQ("December", dove::locale::Current().monthNames[11]);
    EXPECT_EQ(nullptr, dove::locale::ButtonCaption(0));
}

TEST_F(Win32LocaleTest, ClockFollowsGetLocalTime) {
    dove::datetime::InstallWin32Clock();
    SYSTEMTIME before;
    GetLocalTime(&before);
    const int32_t today = dove::TODAY();
    SYSTEMTIME after;
    GetLocalTime(&after);
    const int32_t first = dove::datetime::DayNumber(before.wYear, before.wMonth, before.wDay);
    const int32_t last = dove::datetime::DayNumber(after.wYear, after.wMonth, after.wDay);
    EXPECT_TRUE(today == first || today == last) << today;
    EXPECT_EQ(before.wYear, dove::datetime::CurrentYear());
    const int32_t now = dove::CLOCK();
    EXPECT_GE(now, 0);
    EXPECT_LE(now, dove::datetime::kLastTime);
}
